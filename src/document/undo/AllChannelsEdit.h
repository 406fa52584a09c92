#pragma once

#include "BlockTextEdit.h"
#include "PageEdit.h"
#include "PatternEdit.h"
#include "StepListener.h"

#include "core/TitleData.h"

#include <QUndoCommand>

#include <array>
#include <memory>
#include <vector>

// The eight channels made at once: the patterns of blocks 0..7, their texts
// and layer 0 of pages 0..7, as one undo step. Views hear of it once: the
// patterns, each text, and the pages together, so that a view showing one
// channel redraws it without being moved through all eight.
class AllChannelsEdit : public QUndoCommand
{
public:
    struct Before
    {
        PatternEdit::Patterns patterns;
        std::array<QString, Title::Channels> texts;
        std::array<PageEdit::Layer, Title::Channels> pages;
    };

    // What the step needs kept from before the edit.
    static Before snapshot(const TitleData &data);

    // Records an edit already made to `data`; `before` is its snapshot.
    AllChannelsEdit(TitleData &data, StepListener &listener, const Before &before, const QString &text);
    ~AllChannelsEdit() override;

    void undo() override;
    void redo() override;

private:
    // Gathers what the parts put, to report it once.
    class Gathered : public StepListener
    {
    public:
        void patternsPut(const QList<int> &codes) override { this->codes += codes; }
        void cellsPut(int page, const QList<int> &) override { pages.append(page); }
        void blockTextPut(int block) override { blocks.append(block); }
        void pagesPut(const QList<int> &more) override { pages += more; }
        void titlePut(const TitleFileNames &) override {}

        QList<int> codes;
        QList<int> pages;
        QList<int> blocks;
    };

    void apply(bool forward);

    StepListener &m_listener;
    Gathered m_gathered;
    std::unique_ptr<PatternEdit> m_patterns;
    std::vector<std::unique_ptr<BlockTextEdit>> m_texts;
    std::vector<std::unique_ptr<PageEdit>> m_pages;
};
