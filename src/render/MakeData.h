#pragma once

#include "BlockTextGuard.h"
#include "StripFit.h"
#include "TextPicture.h"

#include "core/TitleData.h"

#include <QFont>
#include <QString>

// "データ作成" on the title data alone: draw the text, write "MyBmp.bmp",
// sample the strip into the block, store the text, edge if asked, clear the
// page and place the block. The editor's document runs it as one undoable
// edit and tells the window what to redraw; the command-line tool runs it as
// it is.
class MakeData
{
public:
    static inline const QString BitmapName = QStringLiteral("MyBmp.bmp");

    struct Request
    {
        QString text;          // the text box's text, without the added space
        QFont font;            // the text box's font
        bool edging = true;    // "縁取" checked
        int topCode = 1;       // first code of the block to fill
        int page = 0;          // screen page to clear and fill (ChNo)
        int selCell = 0;       // where the block goes on the page
        QString workFolder;    // where "MyBmp.bmp" goes, ending in "/"
    };

    struct Result
    {
        BlockTextGuard::Problem refused = BlockTextGuard::Problem::None;
        bool bitmapWritten = false;
        int cellsPlaced = 0;
        StripFit::Measure fit; // how the text sits in the strip
        // run(): one line naming what did not fit in the strip or the row,
        // for the operator; empty when everything did. The data is made all
        // the same.
        QString cutWarning;

        bool done() const { return refused == BlockTextGuard::Problem::None; }
    };

    // The character steps only (drawing to edging); the page is left alone.
    // Nothing changes when the text is refused.
    static Result renderBlock(TitleData &data, const Request &request);

    // renderBlock followed by the page clear and the block placement.
    static Result run(TitleData &data, const Request &request);

    // Draws `text` plus one space the way make data does; for previews and
    // for the steps above.
    static void draw(TextPicture &picture, const QString &text, const QFont &font);
};
