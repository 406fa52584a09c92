#pragma once

#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"

#include <QList>
#include <QStringList>

// Scripted stand-ins for the modal dialogs: they answer from a queue and
// remember what they were asked.
class FakeMessageBoxes : public MessageBoxes
{
public:
    struct Box
    {
        QString title;
        QString text;
    };

    void warning(QWidget *, const QString &title, const QString &text) override { shown.append({title, text}); }
    SaveChoice askSave(QWidget *, const QString &title, const QString &text) override
    {
        asked.append({title, text});
        return saveAnswers.isEmpty() ? SaveChoice::Cancel : saveAnswers.takeFirst();
    }

    QList<Box> shown;
    // The questions about unsaved work, and their answers in turn (キャンセル
    // when none is left).
    QList<Box> asked;
    QList<SaveChoice> saveAnswers;
};

class FakeFileDialogs : public FileDialogs
{
public:
    struct Request
    {
        bool save;
        QString title;
        QString filter;
        QString folder;
        QString defaultExtension;
    };

    QString openFileName(QWidget *, const QString &title, const QString &filter, const QString &folder,
                         const QString &defaultExtension) override
    {
        return answer({false, title, filter, folder, defaultExtension});
    }
    QString saveFileName(QWidget *, const QString &title, const QString &filter, const QString &folder,
                         const QString &defaultExtension) override
    {
        return answer({true, title, filter, folder, defaultExtension});
    }

    // An empty answer is a cancelled dialog.
    QStringList answers;
    QList<Request> requests;

private:
    QString answer(const Request &request)
    {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

class FakeFontDialogs : public FontDialogs
{
public:
    std::optional<QFont> chooseFont(QWidget *, const QFont &initial, const QString &) override
    {
        asked.append(initial);
        return answer;
    }

    std::optional<QFont> answer;
    QList<QFont> asked;
};
