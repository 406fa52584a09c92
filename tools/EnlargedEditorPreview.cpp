// Plays what an operator does with the enlarged character editor, through
// the real windows, boxes and mouse clicks, and saves the screen after each
// step as OUTDIR/NN-what.png: `enlarged_editor_preview OUTDIR` under any
// display (xvfb-run), for a look at the windows and the questions.

#include "support/FakeServices.h"

#include "charedit/HensyuForm.h"
#include "charedit/KakudaiDotGrid.h"
#include "editor/CutMarkLineEdit.h"
#include "editor/EditForm.h"
#include "editor/PaletteView.h"
#include "platform/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class Shots
{
public:
    explicit Shots(const QString &folder) : m_folder(folder) { QDir().mkpath(folder); }

    void take(const QString &what)
    {
        QTest::qWait(150);
        const QString name = QStringLiteral("%1/%2-%3.png").arg(m_folder).arg(++m_count, 2, 10, QLatin1Char('0')).arg(what);
        QGuiApplication::primaryScreen()->grabWindow(0).save(name);
    }

    // The next question box is pictured, then answered with `button`.
    void answerNextBox(const QString &what, const QString &button)
    {
        QTimer::singleShot(400, [this, what, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            take(what);
            for (QAbstractButton *candidate : box->buttons()) {
                if (candidate->text() == button)
                    candidate->click();
            }
        });
    }

private:
    QString m_folder;
    int m_count = 0;
};

void clickDot(HensyuForm &editor, int n)
{
    const int pitch = KakudaiDotGrid::Pitch;
    QTest::mouseClick(editor.dotGrid(), Qt::LeftButton, {}, QPoint(n % 12 * pitch + 6, n / 12 * pitch + 6));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Shots shots(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    TitleData data;
    QtMessageBoxes boxes;
    FakeFileDialogs files;
    FakeFontDialogs fonts;
    EditForm form(data, boxes, files, fonts, work.path() + QLatin1Char('/'));
    form.move(10, 10);
    form.show();
    const EditFormUi &ui = form.ui();

    // By keyboard: back round the chain to "拡大編集", open it, close it; the
    // text box is in front again and takes the typing.
    // Without a window manager the window may never be told it is active;
    // the keys below still reach the widgets they are sent to.
    const auto activate = [&form] {
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qWarning("the editor window did not become active; the focus shots may differ");
    };
    activate();
    QTest::keyClick(ui.Text1, Qt::Key_Backtab);
    shots.take(QStringLiteral("focus-on-enlarge"));
    QTest::keyClick(ui.enlargeButton, Qt::Key_Space);
    shots.take(QStringLiteral("opened-by-keyboard"));
    form.enlargedEditor()->close();
    activate();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AB"));
    shots.take(QStringLiteral("closed-typing-in-text-box"));

    // Channel 3, a title made, the palette in front, character 52 opened.
    form.selectChannel(2);
    ui.Text1->setText(QStringLiteral("東京ABC"));
    ui.makeDataButton->click();
    ui.paletteAction->trigger();
    QTest::mouseClick(ui.PSetPic, Qt::LeftButton, {}, PaletteView::tileRect(52).center());
    ui.enlargeButton->click();
    HensyuForm &editor = *form.enlargedEditor();
    editor.move(form.frameGeometry().right() + 20, 10);
    shots.take(QStringLiteral("opened-52"));

    // The palette's "反転": the enlarged view follows.
    ui.LineEdit[1]->click();
    shots.take(QStringLiteral("palette-inverted"));

    // Dots of the operator's own, then "反転" again underneath them.
    clickDot(editor, 0);
    clickDot(editor, 13);
    shots.take(QStringLiteral("own-edits"));
    ui.LineEdit[1]->click();
    shots.take(QStringLiteral("changed-under-edits"));
    shots.answerNextBox(QStringLiteral("save-over-asks"), QStringLiteral("キャンセル"));
    editor.actionButton(HensyuForm::Save)->click();

    // Another tile over the edits: asked, キャンセル.
    shots.answerNextBox(QStringLiteral("other-tile-asks"), QStringLiteral("キャンセル"));
    QTest::mouseClick(ui.PSetPic, Qt::LeftButton, {}, PaletteView::tileRect(60).center());
    shots.take(QStringLiteral("still-52"));

    // Closing the program: the character first, then the title.
    shots.answerNextBox(QStringLiteral("close-asks-character"), QStringLiteral("保存"));
    QTimer::singleShot(1200, [&] { shots.answerNextBox(QStringLiteral("close-asks-title"), QStringLiteral("破棄")); });
    form.close();
    return 0;
}
