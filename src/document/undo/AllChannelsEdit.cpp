#include "AllChannelsEdit.h"

#include "core/ScreenLayout.h"

namespace {
constexpr int ChannelCodes = Title::Channels * Title::BlockSize;
} // namespace

AllChannelsEdit::Before AllChannelsEdit::snapshot(const TitleData &data)
{
    Before before;
    before.patterns = PatternEdit::snapshot(data, ScreenLayout::firstCodeOf(0), ChannelCodes);
    for (int ch = 0; ch < Title::Channels; ++ch) {
        before.texts[size_t(ch)] = data.ChText[ch];
        before.pages[size_t(ch)] = PageEdit::snapshot(data, ch);
    }
    return before;
}

AllChannelsEdit::AllChannelsEdit(TitleData &data, StepListener &listener, const Before &before,
                                 const QString &text)
    : QUndoCommand(text), m_listener(listener)
{
    bool changed = false;
    m_patterns = std::make_unique<PatternEdit>(data, m_gathered, before.patterns, QString());
    changed = changed || !m_patterns->isObsolete();
    for (int ch = 0; ch < Title::Channels; ++ch) {
        auto textEdit = std::make_unique<BlockTextEdit>(data, m_gathered, ch, before.texts[size_t(ch)], QString());
        changed = changed || !textEdit->isObsolete();
        m_texts.push_back(std::move(textEdit));
        auto pageEdit = std::make_unique<PageEdit>(data, m_gathered, ch, before.pages[size_t(ch)], QString());
        changed = changed || !pageEdit->isObsolete();
        m_pages.push_back(std::move(pageEdit));
    }
    setObsolete(!changed);
}

AllChannelsEdit::~AllChannelsEdit() = default;

void AllChannelsEdit::undo()
{
    apply(false);
}

void AllChannelsEdit::redo()
{
    apply(true);
}

void AllChannelsEdit::apply(bool forward)
{
    m_gathered = Gathered();
    // Patterns first, so that the pages show the new characters.
    forward ? m_patterns->redo() : m_patterns->undo();
    for (auto &text : m_texts)
        forward ? text->redo() : text->undo();
    for (auto &page : m_pages)
        forward ? page->redo() : page->undo();
    if (!m_gathered.codes.isEmpty())
        m_listener.patternsPut(m_gathered.codes);
    for (int block : m_gathered.blocks)
        m_listener.blockTextPut(block);
    if (!m_gathered.pages.isEmpty())
        m_listener.pagesPut(m_gathered.pages);
}
