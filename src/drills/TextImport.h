// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class TCodePage;

// Paragraph texts from files and the clipboard, made into the 8-bit sample
// the line engine takes: every line break CR LF, blanks at line ends and
// line breaks at the start and end of the text dropped (they cannot be
// seen), invisible characters (soft hyphen, zero-width characters, other
// control characters but the tab) dropped, the various Unicode spaces made
// plain spaces. A character the code page holds becomes its byte; one it
// lacks is transliterated ("Ł" to "L", a typographic quote to a plain one,
// "…" to "..."), and one without a transliteration becomes "?".

enum class TTextKind
{
    Plain,
    Rtf,
    Html,
};

// RTF by its "{\rtf" header; HTML by the extension .htm, .html, .shtml or
// .xhtml, or by a leading "<!DOCTYPE html" or "<html"; anything else plain.
TTextKind DetectTextKind(std::string_view bytes, std::string_view fileName);

// Decoded UTF-8; each malformed sequence is one U+FFFD.
std::u32string Utf8ToUnicode(std::string_view utf8);

// The characters of a file's bytes: UTF-8 after its byte-order mark, UTF-16
// after its byte-order mark, UTF-8 when the bytes are valid UTF-8 beyond
// ASCII, and otherwise bytes of the code page.
std::u32string DecodeText(std::string_view bytes, const TCodePage& codePage);

// A text as sample bytes, as described at the top.
std::string ToCodePageText(std::u32string_view text, const TCodePage& codePage);

// A file's bytes as a sample: RTF and HTML give their text, plain text its
// characters.
std::string ImportText(std::string_view bytes, TTextKind kind, const TCodePage& codePage);

// The file at path as a sample. Throws TError when it cannot be read.
std::string ReadTextFile(const std::string& path, const TCodePage& codePage);

// The clipboard's text (UTF-8) as a sample.
std::string PastedText(std::string_view utf8, const TCodePage& codePage);

// An answer of one line (UTF-8) as 8-bit text, its characters converted as
// in a sample; line breaks become spaces and no blank is dropped.
std::string TextToCodePageLine(std::string_view utf8, const TCodePage& codePage);
