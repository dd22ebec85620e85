#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/calendar_document.h"

namespace tessaly {

// The year page of a calendar document as an HTML page in UTF-8 lines, declared UTF-8:
// the title, then a table of four columns and three rows of month tables, each with its
// name, the initials (a "Wk" column first with week numbers) and six weeks. It prints on
// one landscape page. Weekend columns take the document's colour when it colours them;
// a day with events is bold and underlined, its lines its tooltip. Every text escaped.
std::vector<std::string> HtmlYearLines(const CalendarDocument& document,
                                       std::string_view productWebAddress);

}  // namespace tessaly
