#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/calendar_document.h"

namespace tessaly {

// The HTML page of a calendar document, in UTF-8 lines: a head with the title, two META
// lines and a style sheet, then a table per page. One month's page is 91 lines (92 with
// the weekend colour rule); every page after the first starts a new printed page; week
// numbers add a first column headed "Wk". A page whose days list events declares itself
// UTF-8 and lists them under each day's number, every text escaped.
//
// Built in three steps so that a caller can tell of each page as it is done:
// HtmlHead, then HtmlPage for each page, then HtmlTail.
std::vector<std::string> HtmlHead(const CalendarDocument& document,
                                  std::string_view productWebAddress);
void AppendHtmlPage(std::vector<std::string>& lines, const CalendarDocument& document,
                    std::size_t page);
void AppendHtmlTail(std::vector<std::string>& lines);

// All of it at once.
std::vector<std::string> HtmlCalendarLines(const CalendarDocument& document,
                                           std::string_view productWebAddress);

// Text with &, <, >, " and ' as character references: it can only ever be text, in an
// element or in a quoted attribute.
std::string HtmlEscaped(std::string_view text);

// Every line followed by CR LF, the last one included.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tessaly
