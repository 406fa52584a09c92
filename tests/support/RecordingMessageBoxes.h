#pragma once

#include "platform/MessageBoxes.h"

#include <QEventLoop>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

// Remembers what every box said and answers it. While a box is "open" it
// runs what a real modal box's event loop would: the test's `whileOpen`
// hook (virtual time passing, the device going away ...) and then one real
// nested event loop, which is where Qt carries out deferred deletes.
class RecordingMessageBoxes : public MessageBoxes
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override
    {
        const int index = int(texts.size());
        titles.append(title);
        texts.append(text);
        const QPointer<QWidget> owner = parent;
        m_open.push_back({parent, index});
        if (whileOpen)
            whileOpen(index);
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        m_open.pop_back();
        if (parent && !owner)
            ++ownersGoneUnderABox;
    }

    bool warningWithAction(QWidget *parent, const QString &title, const QString &text, const QString &action) override
    {
        actions.append(action);
        warning(parent, title, text);
        return takeAction;
    }

    void closeBoxesOf(QWidget *owner) override
    {
        for (const Open &box : m_open) {
            if (box.parent == owner)
                closedByOwner.append(box.index);
        }
    }
    SaveChoice askSave(QWidget *, const QString &, const QString &) override { return SaveChoice::Cancel; }

    QStringList titles;
    QStringList texts;
    // What warningWithAction() offered, and whether the operator takes it.
    QStringList actions;
    bool takeAction = false;
    // Called with the box's index while it is open.
    std::function<void(int index)> whileOpen;
    // Boxes (by index) that their owner closed on its way out.
    QList<int> closedByOwner;
    // Boxes whose owner was destroyed while they were still open.
    int ownersGoneUnderABox = 0;

private:
    struct Open
    {
        QWidget *parent;
        int index;
    };
    std::vector<Open> m_open;
};
