#pragma once

#include <QString>

class QWidget;

// Modal message boxes, behind an interface so tests can answer them.
class MessageBoxes
{
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~MessageBoxes() = default;
    // A modal box with a warning icon, the given title and an OK button.
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    // Asks whether unsaved work is to be saved first, with the buttons
    // "保存", "破棄" and "キャンセル"; closing the box counts as キャンセル.
    virtual SaveChoice askSave(QWidget *parent, const QString &title, const QString &text) = 0;
};

// The real boxes, shown with QMessageBox.
class QtMessageBoxes : public MessageBoxes
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    SaveChoice askSave(QWidget *parent, const QString &title, const QString &text) override;
};
