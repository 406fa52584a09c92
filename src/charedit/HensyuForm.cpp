#include "HensyuForm.h"

#include "CopyBuffer.h"
#include "KakudaiDotGrid.h"

#include "document/TitleDocument.h"
#include "platform/MessageBoxes.h"

#include "core/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

struct ButtonPlace
{
    const char16_t *caption;
    int left, top, width, height;
};

// By command index; the order on screen differs.
constexpr ButtonPlace HensyuCommandPlaces[HensyuForm::CommandCount] = {
    {u"縁取", 2550, 210, 1365, 350},     {u"全クリア", 2550, 600, 1365, 350},
    {u"全白", 2550, 2490, 1365, 350},    {u"全黒", 2550, 2880, 1365, 350},
    {u"黒クリア", 2550, 990, 1365, 350}, {u"白クリア", 2550, 1380, 1365, 350},
    {u"白黒反転", 2550, 2100, 1365, 350}, {u"↑", 2820, 3390, 825, 350},
    {u"←", 2370, 3780, 825, 350},        {u"→", 3240, 3780, 825, 350},
    {u"↓", 2820, 4170, 825, 350},
};

constexpr ButtonPlace ActionPlaces[4] = {
    {u"コピー", 270, 3600, 1965, 405},
    {u"貼り付け", 270, 4050, 1965, 405},
    {u"保存", 270, 4620, 1965, 405},
    {u"キャンセル", 270, 5070, 1965, 405},
};

// Where the notice of a character changed under the edits goes: the free
// corner below the arrows.
constexpr int NoticeLeft = 2370, NoticeTop = 4620, NoticeWidth = 1695, NoticeHeight = 900;

QPushButton *placeButton(const ButtonPlace &place, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf16(place.caption), parent);
    button->setGeometry(Twips::rect(place.left, place.top, place.width, place.height));
    return button;
}

} // namespace

HensyuForm::HensyuForm(TitleDocument &document, MessageBoxes &messageBoxes, QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(document), m_data(document.data()), m_messageBoxes(messageBoxes)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("拡大編集"));
    buildLayout();
    buildUndoActions();
    connect(&document, &TitleDocument::characterOpened, this, &HensyuForm::showCharacter);
    connect(&document, &TitleDocument::patternsChanged, this, &HensyuForm::followDocument);
    connect(&document, &TitleDocument::titleReplaced, this, [this] { followDocument({character()}); });
    connect(&m_edits.undoStack(), &QUndoStack::indexChanged, this, &HensyuForm::gridChanged);
}

void HensyuForm::buildLayout()
{
    setFixedSize(Twips::px(4275), Twips::px(5745));
    m_frame = new QGroupBox(QStringLiteral("拡大表示"), this);
    m_frame->setGeometry(Twips::rect(60, 60, 4155, 5625));

    m_dots = new KakudaiDotGrid(m_edits.grid(), m_frame);
    m_dots->move(Twips::px(150), Twips::px(240));
    connect(m_dots, &KakudaiDotGrid::dotPressed, this, &HensyuForm::pressDot);

    for (int i = 0; i < CommandCount; ++i) {
        m_hensyuCommand[i] = placeButton(HensyuCommandPlaces[i], m_frame);
        connect(m_hensyuCommand[i], &QPushButton::clicked, this, [this, i] { applyCommand(i); });
    }
    for (int i = 0; i < ActionCount; ++i) {
        m_actionButtons[i] = placeButton(ActionPlaces[i], m_frame);
        connect(m_actionButtons[i], &QPushButton::clicked, this, [this, i] { runAction(i); });
    }

    m_notice = new QLabel(QStringLiteral("この文字は編集中にほかの操作で変更されました"), m_frame);
    m_notice->setGeometry(Twips::rect(NoticeLeft, NoticeTop, NoticeWidth, NoticeHeight));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_notice->hide();
}

HensyuForm::~HensyuForm()
{
    // The edits' undo stack says it changed while it is being destroyed, and
    // by then the document this window reads its character from may be gone
    // (the editor window destroys the document before its children).
    m_edits.undoStack().disconnect(this);
}

void HensyuForm::buildUndoActions()
{
    // Actions of this window: a window shortcut reaches only the active
    // window, so the editor window's Ctrl+Z never takes these edits back, nor
    // these keys the title's steps.
    QAction *undo = m_edits.undoStack().createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = m_edits.undoStack().createRedoAction(this, QStringLiteral("やり直し"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    addAction(undo);
    addAction(redo);
}

int HensyuForm::character() const
{
    return m_document.openedCharacter();
}

const CharPattern &HensyuForm::storedPattern() const
{
    return m_data.DotData[character()];
}

void HensyuForm::KakudaiDataSet(int code)
{
    m_document.openCharacter(code);
}

void HensyuForm::showCharacter()
{
    m_edits.load(storedPattern());
    gridChanged();
}

bool HensyuForm::openCharacter(int code)
{
    if (code == character() && m_edits.hasEdits())
        return true;
    if (!settleUnsavedEdits())
        return false;
    KakudaiDataSet(code);
    return true;
}

bool HensyuForm::settleUnsavedEdits()
{
    if (!m_edits.hasEdits())
        return true;
    QString question = QStringLiteral("文字%1の変更を保存しますか？").arg(character());
    if (m_edits.overtaken())
        question += QStringLiteral("\n（編集中にほかの操作でこの文字が変更されています。保存するとその変更を上書きします。）");
    return m_messageBoxes.settleUnsavedWork(this, editingCaption(), question, [this] { return storeGrid(); });
}

void HensyuForm::closeEvent(QCloseEvent *event)
{
    if (settleUnsavedEdits())
        event->accept();
    else
        event->ignore();
}

void HensyuForm::pressDot(int n)
{
    m_edits.edit([n](KakudaiGrid &grid) { grid.cycle(n); }, QStringLiteral("ドット"));
}

void HensyuForm::applyCommand(int command)
{
    using Change = std::function<void(KakudaiGrid &)>;
    const auto fill = [](QRgb colour) { return Change([colour](KakudaiGrid &grid) { grid.fill(colour); }); };
    const auto clear = [](QRgb colour) {
        return Change([colour](KakudaiGrid &grid) { grid.replace(colour, KakudaiGrid::Transparent); });
    };
    // By command index, as the buttons are.
    const Change changes[CommandCount] = {
        &KakudaiGrid::edge,
        fill(KakudaiGrid::Transparent),
        fill(KakudaiGrid::White),
        fill(KakudaiGrid::Black),
        clear(KakudaiGrid::Black),
        clear(KakudaiGrid::White),
        &KakudaiGrid::swapBlackWhite,
        &KakudaiGrid::shiftUp,
        &KakudaiGrid::shiftLeft,
        &KakudaiGrid::shiftRight,
        &KakudaiGrid::shiftDown,
    };
    if (command < 0 || command >= CommandCount)
        return;
    m_edits.edit(changes[command], QString::fromUtf16(HensyuCommandPlaces[command].caption));
}

void HensyuForm::runAction(int action)
{
    switch (action) {
    case Copy:
        copyCharacter();
        break;
    case Paste:
        pasteCharacter();
        break;
    case Save:
        saveCharacter();
        break;
    case Cancel:
        cancelEdits();
        break;
    default:
        break;
    }
}

void HensyuForm::copyCharacter()
{
    // The stored pattern, not the grid: unsaved edits are not copied.
    CopyBuffer::shared().copyFrom(storedPattern());
}

void HensyuForm::pasteCharacter()
{
    const CopyBuffer &buffer = CopyBuffer::shared();
    // Nothing copied yet: pasting the empty buffer would leave the character
    // with no valid dots at all.
    if (!buffer.isFilled())
        return;
    const int code = character();
    const bool edited = m_edits.hasEdits();
    m_document.replacePattern(code, buffer.pattern(), QStringLiteral("貼り付け"));
    if (!edited) {
        KakudaiDataSet(code);
        return;
    }
    // The paste replaces the edits on screen too, but as a step of their
    // own: Ctrl+Z here gives them back.
    m_edits.revert(QStringLiteral("貼り付け"));
}

void HensyuForm::saveCharacter()
{
    // Nothing to write; pushing even an empty step would throw away what
    // the title could still redo.
    if (!m_edits.hasEdits())
        return;
    if (m_edits.overtaken()) {
        // Saving now would silently undo whatever changed the character
        // since the edits began.
        const QString question =
            QStringLiteral("文字%1は編集中にほかの操作で変更されています。\n"
                           "「保存」で編集した内容を上書きし、「破棄」で編集を捨てて今の文字を表示します。")
                .arg(character());
        switch (m_messageBoxes.askSave(this, editingCaption(), question)) {
        case MessageBoxes::SaveChoice::Save:
            break;
        case MessageBoxes::SaveChoice::Discard:
            cancelEdits();
            return;
        case MessageBoxes::SaveChoice::Cancel:
            return;
        }
    }
    storeGrid();
}

bool HensyuForm::storeGrid()
{
    const int code = character();
    // A box that was never loaded stands for no code; refusing keeps such a
    // box from ever reaching the title data.
    CharPattern pattern = storedPattern();
    if (!m_edits.grid().store(pattern))
        return false;
    m_document.replacePattern(code, pattern, QStringLiteral("保存"));
    return true;
}

void HensyuForm::cancelEdits()
{
    if (!m_edits.isLoaded()) {
        KakudaiDataSet(character());
        return;
    }
    // A step like any edit, so that a キャンセル pressed by mistake costs
    // nothing.
    m_edits.revert(QStringLiteral("キャンセル"));
}

void HensyuForm::followDocument(const QList<int> &codes)
{
    if (!m_edits.isLoaded() || !codes.contains(character()))
        return;
    m_edits.storedChanged(storedPattern());
    gridChanged();
}

QString HensyuForm::editingCaption() const
{
    return QStringLiteral("文字%1編集中").arg(character());
}

void HensyuForm::gridChanged()
{
    if (m_edits.isLoaded())
        setWindowTitle(editingCaption() + (m_edits.hasEdits() ? QStringLiteral(" *") : QString()));
    m_notice->setVisible(m_edits.overtaken());
    m_dots->update();
}
