// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class TCodePage;

// The text of an RTF document, with "\n" for its paragraph and line breaks.
// Groups, control words and symbols, "\'hh" (a byte of the document's
// \ansicpg code page, or of codePage when it names none or an unknown one)
// and "\u" (with its \uc fallback skipped) are read; hidden text and the
// destinations that hold no body text (font and colour tables, style sheet,
// information, pictures, objects, headers, footers, field instructions,
// every "\*" destination) are left out. Font character sets are not read.
// Any input is read in one pass, without recursion.
std::u32string RtfText(std::string_view rtf, const TCodePage& codePage);
