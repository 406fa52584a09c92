#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QFontDialog;
class QWidget;

// The modal font dialog, behind an interface so tests can answer it.
class FontDialogs
{
public:
    virtual ~FontDialogs() = default;
    // The chosen font (name, size, bold, italic, underline, strikethrough),
    // or nothing when the dialog was cancelled.
    virtual std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial, const QString &title) = 0;
};

// The real dialog, shown with QFontDialog.
class QtFontDialogs : public FontDialogs
{
public:
    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial, const QString &title) override;

    // Font families as the dialog lists them, each face once: a family that
    // several foundries install ("Nimbus Sans [urw]", "Nimbus Sans [UKWN]")
    // becomes its bare name, which the font database resolves to any of them.
    static QStringList distinctFamilies(const QStringList &families);
    // Makes the family list of `dialog` name each face once, now and
    // whenever the dialog fills the list again, keeping the selected face.
    static void listFamiliesOnce(QFontDialog &dialog);
};
