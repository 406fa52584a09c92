#pragma once

#include <QString>

class QWidget;

// Modal open and save dialogs, behind an interface so tests can answer them.
// Filters come in the Windows form "description|pattern|description|pattern|"
// that the data file commands have always used.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The chosen file name, or an empty string when the dialog was cancelled.
    // `defaultExtension` (".zvx") is added by the dialog to a typed name that
    // has no extension of its own, so that the dialog looks for, and asks
    // before overwriting, the file that will really be used.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &folder, const QString &defaultExtension) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &folder, const QString &defaultExtension) = 0;

    // Turns "zvx ﾌｧｲﾙ(*.zvx)|*.zvx|" into Qt's "zvx ﾌｧｲﾙ(*.zvx)" form: entries
    // joined by ";;", each description followed by its patterns in
    // parentheses unless it already ends with them.
    static QString qtFilter(const QString &windowsFilter);
};

// The real dialogs, shown with QFileDialog.
class QtFileDialogs : public FileDialogs
{
public:
    QString openFileName(QWidget *parent, const QString &title, const QString &filter, const QString &folder,
                         const QString &defaultExtension) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter, const QString &folder,
                         const QString &defaultExtension) override;
};
