#include "HensyuForm.h"

#include "CopyBuffer.h"
#include "KakudaiDotGrid.h"

#include "document/TitleDocument.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

// The window was laid out in twips; 15 twips make one pixel at 96 dpi.
constexpr int px(int twips)
{
    return (twips + 7) / 15;
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

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

QPushButton *placeButton(const ButtonPlace &place, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf16(place.caption), parent);
    button->setGeometry(twipsRect(place.left, place.top, place.width, place.height));
    return button;
}

} // namespace

HensyuForm::HensyuForm(TitleDocument &document, QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(document), m_data(document.data())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("拡大編集"));
    buildLayout();
    connect(&document, &TitleDocument::patternsImported, this, &HensyuForm::followImport);
}

void HensyuForm::buildLayout()
{
    setFixedSize(px(4275), px(5745));
    m_frame = new QGroupBox(QStringLiteral("拡大表示"), this);
    m_frame->setGeometry(twipsRect(60, 60, 4155, 5625));

    m_dots = new KakudaiDotGrid(m_grid, m_frame);
    m_dots->move(px(150), px(240));
    connect(m_dots, &KakudaiDotGrid::dotPressed, this, &HensyuForm::pressDot);

    for (int i = 0; i < CommandCount; ++i) {
        m_hensyuCommand[i] = placeButton(HensyuCommandPlaces[i], m_frame);
        connect(m_hensyuCommand[i], &QPushButton::clicked, this, [this, i] { applyCommand(i); });
    }
    for (int i = 0; i < ActionCount; ++i) {
        m_actionButtons[i] = placeButton(ActionPlaces[i], m_frame);
        connect(m_actionButtons[i], &QPushButton::clicked, this, [this, i] { runAction(i); });
    }
}

void HensyuForm::KakudaiDataSet(int code)
{
    m_data.HensyuNo = qint16(code);
    setWindowTitle(QStringLiteral("文字%1編集中").arg(code));
    m_grid.load(m_data.DotData[code]);
    gridChanged();
}

void HensyuForm::pressDot(int n)
{
    m_grid.cycle(n);
    gridChanged();
}

void HensyuForm::applyCommand(int command)
{
    switch (command) {
    case Edging:
        m_grid.edge();
        break;
    case ClearAll:
        m_grid.fill(KakudaiGrid::Transparent);
        break;
    case AllWhite:
        m_grid.fill(KakudaiGrid::White);
        break;
    case AllBlack:
        m_grid.fill(KakudaiGrid::Black);
        break;
    case ClearBlack:
        m_grid.replace(KakudaiGrid::Black, KakudaiGrid::Transparent);
        break;
    case ClearWhite:
        m_grid.replace(KakudaiGrid::White, KakudaiGrid::Transparent);
        break;
    case SwapBlackWhite:
        m_grid.swapBlackWhite();
        break;
    case ShiftUp:
        m_grid.shiftUp();
        break;
    case ShiftLeft:
        m_grid.shiftLeft();
        break;
    case ShiftRight:
        m_grid.shiftRight();
        break;
    case ShiftDown:
        m_grid.shiftDown();
        break;
    default:
        return;
    }
    gridChanged();
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
    CopyBuffer::shared().copyFrom(m_data.DotData[m_data.HensyuNo]);
}

void HensyuForm::pasteCharacter()
{
    const CopyBuffer &buffer = CopyBuffer::shared();
    // Nothing copied yet: pasting the empty buffer would leave the character
    // with no valid dots at all.
    if (!buffer.isFilled())
        return;
    const int code = m_data.HensyuNo;
    m_document.replacePattern(code, buffer.pattern(), QStringLiteral("貼り付け"));
    KakudaiDataSet(code);
}

void HensyuForm::saveCharacter()
{
    const int code = m_data.HensyuNo;
    // A box that was never loaded stands for no code; refusing keeps such a
    // box from ever reaching the title data.
    CharPattern pattern = m_data.DotData[code];
    if (!m_grid.store(pattern))
        return;
    m_document.replacePattern(code, pattern, QStringLiteral("保存"));
}

void HensyuForm::cancelEdits()
{
    KakudaiDataSet(m_data.HensyuNo);
}

void HensyuForm::gridChanged()
{
    m_dots->update();
}

void HensyuForm::followImport(const PatternEdit::Patterns &before)
{
    // A grid that still shows the stored character follows the import; one
    // holding unsaved edits keeps them, as after a rendering.
    const int shown = m_data.HensyuNo;
    const auto replaced = before.constFind(shown);
    if (replaced == before.cend())
        return;
    KakudaiGrid unedited;
    unedited.load(*replaced);
    if (m_grid == unedited)
        KakudaiDataSet(shown);
}
