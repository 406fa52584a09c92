#include "UnsendableCodes.h"

#include "HostLinkFrame.h"
#include "core/TitleData.h"

namespace UnsendableCodes {

std::optional<UnsendableCell> first(const TitleData &data)
{
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (!data.KakikomiCh[ch])
            continue;
        for (int cell = 0; cell < Title::Cells; ++cell) {
            const int code = data.DispData(cell, 0, ch);
            if (!HostLinkFrame::isSendable(code, ch))
                return UnsendableCell{ch, cell / Title::Columns, cell % Title::Columns, code};
        }
    }
    return std::nullopt;
}

} // namespace UnsendableCodes
