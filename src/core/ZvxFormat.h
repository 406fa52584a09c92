#pragma once

// Fixed parts of the data file's layout, shared by its reader and writer.
namespace ZvxFormat {

// The first line of every data file.
inline constexpr char Tag[] = "ZelkoVXData";

// Lines of a complete file up to its last screen row: the tag, ten block
// texts, 64 lines for each of the 256 characters, 13 rows for each of the ten
// pages. An empty line follows.
inline constexpr long long TitleLines = 1 + 10 + 256 * 64 + 10 * 13;

} // namespace ZvxFormat
