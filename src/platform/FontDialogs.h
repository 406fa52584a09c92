#pragma once

#include <QFont>
#include <QString>

#include <optional>

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
};
