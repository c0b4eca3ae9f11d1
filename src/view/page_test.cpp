#include "view/page.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ViewPage, HoldsEverythingItNeedsAndReloadsOnlyWhenWatching) {
  ViewInput input;
  input.title = "A<b>_1";
  input.grid = make_cell_grid(1000);
  const std::string page = render_view_page(input);
  EXPECT_NE(page.find("<title>A&lt;b&gt;_1 - line view</title>"), std::string::npos);
  EXPECT_NE(page.find("window.scenarioView"), std::string::npos);
  EXPECT_NE(page.find("#profile"), std::string::npos);  // the style is inline
  // Nothing is fetched: no external script, style, image or font.
  for (const char* link : {"src=", "href=", "@import", "url(/", "url(h", "https:"}) {
    EXPECT_EQ(page.find(link), std::string::npos) << link;
  }
  // The one address in it is the name of the SVG namespace.
  std::size_t addresses = 0;
  for (std::size_t at = page.find("http:"); at != std::string::npos; at = page.find("http:", at + 1)) {
    EXPECT_EQ(page.compare(at, 26, "http://www.w3.org/2000/svg"), 0) << page.substr(at, 40);
    ++addresses;
  }
  EXPECT_EQ(addresses, 1u);
  EXPECT_NE(page.find("\"watch\":false"), std::string::npos);
  input.watch = true;
  EXPECT_NE(render_view_page(input).find("\"watch\":true"), std::string::npos);
}

}  // namespace
}  // namespace scenario
