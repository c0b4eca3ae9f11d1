#include "view/source_places.h"

#include <gtest/gtest.h>

#include "model/cell_grid.h"

namespace scenario {
namespace {

TEST(SourcePlaces, FindsTheLineOfEachObjectWhateverTheLineEnds) {
  SourcePlaces places;
  scan_line_source("L.txt",
                   "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
                   "INDICATORI_VMAX, 3050, 100, 120, 130, 0, 100, 120, 130, 0\r\n"
                   "montagna, 5000, 6000, 11\rcartello_indicatore, 7000, A\n"
                   "cartello_indicatore, 7500, B\n",
                   places);
  scan_train_source("T-.txt",
                    "[generale]\nrallentamento,   180950,    40,  200, 0,  1,  40\n"
                    "abbattimento, 9000, 180\nstazione, 2050, 12, 400\nstazione, 9050, 28, 200\n"
                    "segnale,+4000, 2\nvelocita, 4000, 100\n",
                    places);
  const struct {
    std::int32_t cell;
    std::uint8_t kind;
    const char* file;
    std::int32_t line;
  } cases[] = {
      {62, cell_kind::kSpeedIndicator, "L.txt", 4},
      {141, cell_kind::kIndicationBoard, "L.txt", 6},
      {151, cell_kind::kIndicationBoard, "L.txt", 7},
      {3620, cell_kind::kStartBoard, "T-.txt", 2},
      {3624, cell_kind::kEndBoard, "T-.txt", 2},
      {3596, cell_kind::kWarningBoard, "T-.txt", 2},
      {3592, cell_kind::kPreWarning, "T-.txt", 2},
      {180, cell_kind::kReductionPoint, "T-.txt", 3},
      {81, cell_kind::kSignal, "T-.txt", 6},
  };
  for (const auto& c : cases) {
    const auto found = places.objects.find({c.cell, c.kind});
    ASSERT_NE(found, places.objects.end()) << c.cell;
    EXPECT_EQ(found->second.file, c.file) << c.cell;
    EXPECT_EQ(found->second.line, c.line) << c.cell;
  }
  EXPECT_EQ(places.objects.count({81, cell_kind::kSpeedIndicator}), 0u);  // "velocita" is no object
  EXPECT_EQ(places.tunnels.at(100).line, 5);
  EXPECT_EQ(places.rows.at(80).line, 6);  // the first board's text row
  EXPECT_EQ(places.rows.at(79).line, 7);
  EXPECT_EQ(places.rows.at(1).line, 4);   // stations in file order
  EXPECT_EQ(places.rows.at(2).line, 5);
}

}  // namespace
}  // namespace scenario
