#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace store {

// How a data file's text is stored on disk. The layer above always sees UTF-8 (or, for files
// written by programs that use the Windows code page, the bytes as they are); UTF-16 files are
// decoded on reading and encoded again, byte-order mark first, on writing.
enum class FileEncoding { Bytes, Utf16Le, Utf16Be };

// The encoding that a file's byte-order mark announces: FF FE little-endian, FE FF big-endian.
FileEncoding DetectEncoding(std::string_view bytes);

// The file's text as UTF-8, without the UTF-16 byte-order mark. An unpaired surrogate becomes the
// three bytes it would have in UTF-8 had it been a code point, so that writing the text back
// gives the same code unit; a stray last byte becomes U+FFFD.
std::string DecodeFileText(std::string_view bytes, FileEncoding encoding);

// The bytes to store for `text` in `encoding`, byte-order mark included. A byte that is not part
// of valid UTF-8 is taken as a Windows-1252 character, as it is shown.
std::string EncodeFileText(std::string_view text, FileEncoding encoding);

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The length of the well-formed UTF-8 sequence at `i`, or 0. Overlong forms, surrogates and
// values past U+10FFFF are not well formed, nor is a sequence cut by the end of `text`.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// Appends the UTF-8 form of a Unicode code point.
void AppendUtf8(std::string& out, char32_t c);

// The character a Windows-1252 byte stands for. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) map to the C1 control characters of the same value, as Windows maps them.
char32_t Windows1252Char(unsigned char byte);

}  // namespace store
