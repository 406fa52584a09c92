// Any bytes as a data file: the reader must end without a crash, and its
// memory must not follow the input's size (run with -rss_limit_mb).

#include "core/ZvxReader.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(bytes), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    const ZvxReadResult result = ZvxReader::load(buffer, *data);
    (void)result.message();
    (void)result.notice();
    return 0;
}
