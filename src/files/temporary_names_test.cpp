#include "files/temporary_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(TemporaryNames, NameRecordsTheProcessAndReadsBack) {
  const TemporaryOwner owner{4242, 987654321};
  const std::string name = temporary_name("/data/x y/Orvale_Varcona_linea.dat", owner, 3);
  EXPECT_EQ(name, "/data/x y/Orvale_Varcona_linea.dat.tmp.4242.987654321.3");
  const auto back = temporary_owner("Orvale_Varcona_linea.dat.tmp.4242.987654321.3",
                                    "Orvale_Varcona_linea.dat");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->process_id, 4242u);
  EXPECT_EQ(back->start_time, 987654321u);
}

TEST(TemporaryNames, OnlyThisProgramsNamesForTheTargetAreRecognised) {
  const std::string_view target = "Orvale_Varcona_593.dat";
  struct Case {
    std::string_view entry;
    bool ours;
  };
  const Case cases[] = {
      {"Orvale_Varcona_593.dat.tmp.17.0", true},            // named by earlier versions
      {"Orvale_Varcona_593.dat.tmp.17.55.0", true},
      {"Orvale_Varcona_593.dat", false},                    // the file itself
      {"Orvale_Varcona_593.dat.tmp.17", false},             // no attempt number
      {"Orvale_Varcona_593.dat.tmp.17.55.0.1", false},
      {"Orvale_Varcona_593.dat.tmp.17.x.0", false},
      {"Orvale_Varcona_593.dat.tmp.17..0", false},
      {"Orvale_Varcona_593.dat.tmp.+17.0", false},
      {"Orvale_Varcona_593.dat.tmp.-17.0", false},
      {"Orvale_Varcona_593.dat.tmp.0.0", false},            // no process has id 0
      {"Orvale_Varcona_593.dat.tmp.99999999999999999999.0", false},
      {"Orvale_Varcona_593.dat.bak.17.0", false},
      {"Orvale_Varcona_593.datx.tmp.17.0", false},          // another file's temporary
      {"other_Orvale_Varcona_593.dat.tmp.17.0", false},
      {"Orvale_Varcona_593.dat.tmp.17.0 (copy)", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(temporary_owner(c.entry, target).has_value(), c.ours) << c.entry;
  }
  EXPECT_FALSE(temporary_owner("x.tmp.1.0", ""));
  // A start time the writer could not learn is written as 0.
  EXPECT_EQ(temporary_owner("a.tmp.5.0.1", "a")->start_time, std::nullopt);
}

TEST(TemporaryNames, StaleWhenTheOwnerHasEndedOrItsIdWasReused) {
  const TemporaryOwner with_start{17, 500};
  const TemporaryOwner without_start{17, std::nullopt};
  EXPECT_TRUE(temporary_is_stale(with_start, false, std::nullopt));
  EXPECT_TRUE(temporary_is_stale(without_start, false, std::nullopt));
  EXPECT_TRUE(temporary_is_stale(with_start, true, 501));       // another process now
  EXPECT_FALSE(temporary_is_stale(with_start, true, 500));      // still at work
  EXPECT_FALSE(temporary_is_stale(with_start, true, std::nullopt));
  EXPECT_FALSE(temporary_is_stale(without_start, true, 501));   // cannot tell: kept
}

}  // namespace
}  // namespace scenario
