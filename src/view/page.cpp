#include "view/page.h"

#include "language/translate.h"
#include "view/json_text.h"
#include "view/page_assets.h"

namespace scenario {
namespace {

std::string html_escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string render_view_page(const ViewInput& input) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"" + std::string(language_tag(input.language)) +
      "\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  // Nothing may be fetched: the page must open from disk without a network.
  page += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
          "style-src 'unsafe-inline'; script-src 'unsafe-inline'; img-src data:\">\n";
  page += "<title>" + html_escape(input.title) + " - " +
          html_escape(tr(input.language, "line view")) + "</title>\n<style>\n";
  page += kPageStyle;
  page += "</style>\n</head>\n<body>\n<div id=\"app\"><noscript>" +
          html_escape(tr(input.language, "This page draws the line with JavaScript.")) +
          "</noscript></div>\n<script type=\"application/json\" id=\"page-words\">{";
  bool first = true;
  for (const auto& [english, translation] : page_words(input.language)) {
    if (!first) page += ',';
    first = false;
    json_string(page, english);
    page += ':';
    json_string(page, translation);
  }
  page += "}</script>\n<script type=\"application/json\" id=\"scenario-data\">";
  page += view_data_json(input);
  page += "</script>\n<script>\n";
  page += kPageScript;
  page += "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace scenario
