#pragma once

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

// Modal message boxes, behind an interface so tests can answer them.
class MessageBoxes
{
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~MessageBoxes() = default;
    // A modal box with a warning icon, the given title and an OK button.
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    // The same warning offering one thing to do beside OK, which stays the
    // default; true when the operator chose `action`.
    virtual bool warningWithAction(QWidget *parent, const QString &title, const QString &text, const QString &action)
    {
        (void)action;
        warning(parent, title, text);
        return false;
    }
    // Closes the boxes still open on `owner`, as if answered, because the
    // owner is going away: their event loops end and the calls that opened
    // them return. Boxes that are answered at once have nothing to close.
    virtual void closeBoxesOf(QWidget *owner) { (void)owner; }
    // Asks whether unsaved work is to be saved first, with the buttons
    // "保存", "破棄" and "キャンセル"; closing the box counts as キャンセル.
    virtual SaveChoice askSave(QWidget *parent, const QString &title, const QString &text) = 0;

    // The question before unsaved work would be lost: "保存" runs `save` and
    // goes on only if that saved, "破棄" goes on without, "キャンセル" stops.
    // True when the caller may go on.
    bool settleUnsavedWork(QWidget *parent, const QString &title, const QString &text,
                           const std::function<bool()> &save);
};

// The real boxes, shown with QMessageBox.
class QtMessageBoxes : public MessageBoxes
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    bool warningWithAction(QWidget *parent, const QString &title, const QString &text, const QString &action) override;
    void closeBoxesOf(QWidget *owner) override;
    SaveChoice askSave(QWidget *parent, const QString &title, const QString &text) override;

private:
    // Open boxes, innermost last.
    QList<QPointer<QMessageBox>> m_open;
};
