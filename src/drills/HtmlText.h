// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The text of an HTML page, as a simple tag stripper sees it: tags and
// comments removed, the content of script, style, title and template
// elements left out, blanks collapsed outside <pre>, a line break for <br>
// and around block elements (paragraphs, headings, lists, tables rows,
// divisions and the like), a space between table cells, and character
// references (numeric, and the HTML 4 Latin-1 and typographic names)
// decoded. Linear in the input, whatever it holds.
std::u32string HtmlText(std::u32string_view html);
