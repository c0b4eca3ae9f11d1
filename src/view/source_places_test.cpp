#include "view/source_places.h"

#include <gtest/gtest.h>

#include "model/cell_grid.h"
#include "sources/build_model.h"
#include "testing/test_support.h"

namespace scenario {
namespace {

// The readers record the entry behind every object, row and tunnel, whatever
// the line ends, the letter case or the blanks of the source.
TEST(SourcePlaces, AreTheLinesOfTheEntriesTheReadersPlaced) {
  test::MemoryBuild build(
      "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
      "INDICATORI_VMAX, 3050, 100, 120, 130, 0, 100, 120, 130, 0\r\n"
      "montagna, 5000, 6000, 11\rcartello_indicatore, 7000, A\n"
      "cartello_indicatore, 7500, B\n",
      "[generale]\nrallentamento,   10950,    40,  200, 0,  1,  40\n"
      "abbattimento, 9000, 180\n"
      "stazione, 2050, 12, 400, 0,0,0, 1,1,0, 4,1,1, 30, 8,2,0, Porto\n"
      "stazione, 9050, 28, 200, 0,0,0, 1,1,0, 4,1,1, 30, 8,9,0, Lago\n"
      "segnale,+4000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\nvelocita, 4000, 100\n");
  build.context.options.delete_sources = false;
  build_model(build.context);
  const SourcePlaces places = source_places(build.context.state);
  const struct {
    std::int32_t cell;
    std::uint8_t kind;
    const char* file;
    std::int32_t line;
  } cases[] = {
      {62, cell_kind::kSpeedIndicator, "Orvale_Varcona_linea.txt", 4},
      {141, cell_kind::kIndicationBoard, "Orvale_Varcona_linea.txt", 6},
      {151, cell_kind::kIndicationBoard, "Orvale_Varcona_linea.txt", 7},
      {81, cell_kind::kSignal, "Orvale_Varcona_593-.txt", 6},
      {180, cell_kind::kReductionPoint, "Orvale_Varcona_593-.txt", 3},
  };
  for (const auto& c : cases) {
    const auto found = places.objects.find({c.cell, c.kind});
    ASSERT_NE(found, places.objects.end()) << c.cell;
    EXPECT_EQ(found->second.file, c.file) << c.cell;
    EXPECT_EQ(found->second.line, c.line) << c.cell;
  }
  EXPECT_EQ(places.tunnels.at(100).line, 5);
  EXPECT_EQ(places.rows.at(80).line, 6);  // the first board's text row
  EXPECT_EQ(places.rows.at(79).line, 7);
  EXPECT_EQ(places.rows.at(1).line, 4);   // stations in file order
  EXPECT_EQ(places.rows.at(2).line, 5);
}

}  // namespace
}  // namespace scenario
