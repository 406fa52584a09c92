#include "FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

QString FileDialogs::qtFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        // Windows separates patterns with ";", Qt with spaces.
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty())
            continue;
        const QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
        entries.append(description.endsWith(suffix) ? description : description + QLatin1Char(' ') + suffix);
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {

QString runDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title, const QString &filter,
                  const QString &folder, const QString &defaultExtension)
{
    QFileDialog dialog(parent, title, folder, FileDialogs::qtFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = defaultExtension;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &folder, const QString &defaultExtension)
{
    return runDialog(parent, QFileDialog::AcceptOpen, title, filter, folder, defaultExtension);
}

QString QtFileDialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &folder, const QString &defaultExtension)
{
    return runDialog(parent, QFileDialog::AcceptSave, title, filter, folder, defaultExtension);
}
