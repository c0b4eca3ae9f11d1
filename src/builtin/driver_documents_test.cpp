#include "builtin/driver_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtin/builtin_scenario.h"
#include "builtin/line_table_test_util.h"

namespace scenario {
namespace {

using test::fields_of;
using test::lines_between;
using test::written_lines;

void expect_line(const std::vector<std::string>& lines, int number, std::string_view text) {
  ASSERT_LE(number, static_cast<int>(lines.size()));
  EXPECT_EQ(lines[number - 1], text) << "line " << number;
}

std::string hh_mm(int hours, int minutes) {
  const auto two_digits = [](int value) {
    return std::string(value < 10 ? "0" : "") + std::to_string(value);
  };
  return two_digits(hours) + "." + two_digits(minutes);
}

// ------------------------------------------------------------- notes

TEST(DriverNotes, EightLinesAsLaidOut) {
  const std::vector<std::string> lines = written_lines(dati_note());
  ASSERT_EQ(lines.size(), 8u);
  const std::string& title = lines[0];
  EXPECT_EQ(title.rfind("Simulazione del treno Intercity 593 '", 0), 0u) << title;
  EXPECT_TRUE(title.ends_with("-Varcona ")) << title;
  EXPECT_NE(title.find("' ", 38), std::string::npos) << "service name in quotes, then a blank";
  expect_line(lines, 2, "(tratto simulato Orvale - Varcona Centrale).");
  expect_line(lines, 3, "Buon divertimento");
  expect_line(lines, 4, "");
  EXPECT_EQ(lines[4].find_first_not_of(' '), 19u) << lines[4];
  EXPECT_EQ(lines[5].find_first_not_of(' '), 18u) << lines[5];
  EXPECT_EQ(lines[5][18], '(');
  EXPECT_EQ(lines[5].back(), ')');
  expect_line(lines, 7, "Orario Giugno 2001");
  expect_line(lines, 8, "2R ");
}

// ------------------------------------------------------------- slow-order form

TEST(SlowOrderForm, FixedLinesAndTableWidth) {
  const std::vector<std::string> lines = written_lines(dati_rallentamenti());
  ASSERT_EQ(lines.size(), 44u);
  const std::string rule =
      " |___|____________________________|____________|__________|_________|____________|";
  const std::string empty_row =
      " |   |                            |            |          |         |            |";
  expect_line(lines, 1, "");
  expect_line(lines, 2, "                               Modulo M. 3");
  expect_line(lines, 3, "                           ORDINE DI RALLENTAMENTO");
  expect_line(lines, 4, " " + std::string(80, '_'));
  expect_line(lines, 5, "  Linea  ORVALE - VARCONA CENTRALE");
  expect_line(lines, 6, "");
  expect_line(lines, 7,
              "  Si ordina al macchinista del treno  593  di effettuare i seguenti rallentamenti");
  expect_line(lines, 8, "  " + std::string(79, '_'));
  expect_line(lines, 9,
              " |   |                            |Inizio dopo |          |         |            |");
  expect_line(lines, 10,
              " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|");
  expect_line(lines, 11,
              " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |");
  expect_line(lines, 12, rule);
  for (int number = 15; number <= 36; ++number) expect_line(lines, number, empty_row);
  expect_line(lines, 37, rule);
  expect_line(lines, 38, "");
  expect_line(lines, 39, "              Prescrizioni specifiche");
  expect_line(lines, 40, " A - Da rispettare con tutto il treno (per i treni viaggiatori)");
  expect_line(lines, 41, " B - Interessa anche la stazione di ......");
  expect_line(lines, 42, " D - Rallentamneto N. ... e N. ...  sono contigui");
  expect_line(lines, 43, " C - Da rispettare dalle ore ....  alle ore ..... di tutti");
  expect_line(lines, 44, "     i giorni esclusi i seguenti:.........");
  for (int number = 9; number <= 37; ++number) {
    EXPECT_EQ(lines[number - 1].size(), 82u) << "line " << number;
  }
}

// The two rows are the train source's restrictions, each between the two
// stations around it.
TEST(SlowOrderForm, RowsMatchTheRestrictions) {
  const std::vector<std::string> form = written_lines(dati_rallentamenti());
  const std::vector<std::string> train = written_lines(dati_treno());
  const std::vector<std::string> stations = lines_between(train, 46, 80);
  for (int n = 1; n <= 2; ++n) {
    const std::vector<std::string> restriction = fields_of(train[82 + n - 1]);
    const int x = std::stoi(restriction[1]), v = std::stoi(restriction[2]);
    const int l = std::stoi(restriction[3]);
    std::string before, after;
    for (const std::string& station : stations) {
      const std::vector<std::string> f = fields_of(station);
      if (std::stoi(f[1]) < x) before = f.back();
      if (std::stoi(f[1]) > x && after.empty()) after = f.back();
    }
    char expected[100];
    std::snprintf(expected, sizeof expected,
                  " | %d | %-27s|    %d     |    %d    |   %d   |   -----    |", n,
                  (before + " - " + after).c_str(), x / 1000, v, l);
    expect_line(form, 12 + n, expected);
  }
}

// ------------------------------------------------------------- timetable sheet

constexpr std::string_view kTableRule =
    "  ________________________________________________________________________________";
constexpr std::string_view kSeparator =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
constexpr std::string_view kEmptyRow =
    " |     |     |          |     |                            |                |     |";

// Line numbers of the four sheets: where each header box starts, where its
// table rule stands, its filled and empty rows and its closing rule.
struct Sheet {
  std::string_view heading;
  bool blank;
  int header, rule, first_row, filled, empty, closing;
};
constexpr Sheet kSheets[] = {
    {"SCHEDA 1/2", false, 3, 13, 17, 39, 0, 56},
    {"SCHEDA 2/2", false, 62, 72, 76, 18, 21, 115},
    {"SCHEDA 3/4", true, 120, 130, 134, 0, 31, 165},
    {"SCHEDA 4/4", true, 170, 180, 184, 0, 31, 215},
};

TEST(TimetableSheet, FourSheetsLaidOutLineByLine) {
  const std::vector<std::string> lines = written_lines(dati_scheda());
  ASSERT_EQ(lines.size(), 217u);
  for (const Sheet& sheet : kSheets) {
    const int h = sheet.header;
    expect_line(lines, h,
                "  ___________________                                               ______________");
    expect_line(lines, h + 1,
                " |                   |                    " + std::string(sheet.heading) +
                    "               |              |");
    expect_line(lines, h + 2,
                sheet.blank
                    ? " |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |"
                    : " |   TRENO n. 593    |                   da: Orvale                |    V200 C    |");
    expect_line(lines, h + 3,
                sheet.blank
                    ? " |___________________|                    a: xxxxxx                |     xxx%     |"
                    : " |___________________|                    a: Varcona Centrale      |     130%     |");
    expect_line(lines, h + 4,
                "                                                                   |______________|");
    expect_line(lines, h + 5, "  ___________________                ___________________");
    expect_line(lines, h + 6, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
    expect_line(lines, h + 7,
                sheet.blank ? " |        xxx        |              |      xxxT         |"
                            : " |        IC         |              |      700T         |");
    expect_line(lines, h + 8, " |___________________|              |___________________|");
    expect_line(lines, h + 9, "");
    expect_line(lines, sheet.rule, kTableRule);
    expect_line(lines, sheet.rule + 1,
                " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
    expect_line(lines, sheet.rule + 2,
                " | Lim.|Marc.|          |  Rs |                            |                |     |");
    expect_line(lines, sheet.rule + 3, kSeparator);
    for (int n = 0; n < sheet.filled; ++n) {
      EXPECT_NE(lines[sheet.first_row + n - 1], kEmptyRow) << "line " << sheet.first_row + n;
    }
    for (int n = 0; n < sheet.empty; ++n) {
      expect_line(lines, sheet.first_row + sheet.filled + n, kEmptyRow);
    }
    ASSERT_EQ(sheet.first_row + sheet.filled + sheet.empty, sheet.closing);
    expect_line(lines, sheet.closing, kSeparator);
    EXPECT_EQ(lines[sheet.rule - 1].size(), 82u);
    for (int number = sheet.rule + 1; number <= sheet.closing; ++number) {
      EXPECT_EQ(lines[number - 1].size(), 83u) << "line " << number;
    }
  }
  for (int number : {1, 2, 57, 58, 60, 61, 116, 117, 119, 166, 167, 168, 169, 216, 217}) {
    expect_line(lines, number, "");
  }
  expect_line(lines, 59, std::string(81, '.'));
  expect_line(lines, 118, std::string(72, '.'));
}

// The 57 filled rows of sheets 1/2 and 2/2, in order.
std::vector<std::string> filled_rows() {
  const std::vector<std::string> lines = written_lines(dati_scheda());
  std::vector<std::string> rows = lines_between(lines, 17, 55);
  const std::vector<std::string> more = lines_between(lines, 76, 93);
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

TEST(TimetableSheet, FilledRowsKeepTheirColumns) {
  const std::vector<std::string> rows = filled_rows();
  ASSERT_EQ(rows.size(), 57u);
  EXPECT_EQ(rows.front(),
            " | 115 |     | 111.040  |     | ORVALE                     |          14.41 | 0.5 |");
  EXPECT_EQ(rows[1],
            " | 170 | 150 | 114.000  |     | Cippo Km 114.000           |                |     |");
  EXPECT_EQ(rows[2],
            " |     |     | 121.030  |     | MIRALTO                    |  14.49 - 14.50 |     |");
  EXPECT_EQ(rows.back(),
            " |  70 |  70 | 349.970  |     | VARCONA CENTRALE           |  17.23         | 2.0 |");
  for (const std::string& row : rows) {
    ASSERT_EQ(row.size(), 83u) << row;
    for (std::size_t bar : {1u, 7u, 13u, 24u, 30u, 59u, 76u, 82u}) {
      EXPECT_EQ(row[bar], '|') << row;
    }
    for (std::size_t speed : {2u, 8u}) {
      const std::string column = row.substr(speed, 5);
      EXPECT_TRUE(column == "     " ||
                  (column[0] == ' ' && column[4] == ' ' && std::isdigit(column[3])))
          << row;
    }
    EXPECT_EQ(row.substr(25, 5), "     ") << row;
    const std::string rec = row.substr(77, 5);
    EXPECT_TRUE(rec == "     " || rec == " 0.5 " || rec == " 1.0 " || rec == " 1.5 " ||
                rec == " 2.0 ")
        << row;
  }
}

// The station rows are the train source's stations in order, names in
// capitals, each with the time the train source schedules: the departure
// where the train stops, the passing time where it runs through, the
// arrival at the terminus.
TEST(TimetableSheet, StationRowsFollowTheTrainSource) {
  std::vector<std::string> station_rows;
  for (const std::string& row : filled_rows()) {
    const std::string place = row.substr(31, 27);
    if (std::none_of(place.begin(), place.end(), ::islower)) station_rows.push_back(row);
  }
  const std::vector<std::string> stations =
      lines_between(written_lines(dati_treno()), 46, 80);
  ASSERT_EQ(station_rows.size(), stations.size());
  std::string previous_time;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const std::vector<std::string> f = fields_of(stations[i]);
    const std::string& row = station_rows[i];
    char name[40];
    std::snprintf(name, sizeof name, " %-27s", f.back().c_str());
    EXPECT_EQ(row.substr(31, 28), name) << row;
    // The kilometre post lies within 50 m of the station's position.
    const double km = std::stod(row.substr(14, 9));
    EXPECT_NEAR(km * 1000, std::stoi(f[1]), 50) << row;

    const std::string time = row.substr(60, 16);
    const std::string scheduled = hh_mm(std::stoi(f[14]), std::stoi(f[15]));
    const bool stops = std::stoi(f[13]) >= 20;
    if (i + 1 == stations.size()) {
      EXPECT_EQ(time, "  " + scheduled + "         ") << row;
    } else if (stops) {
      EXPECT_EQ(time.substr(0, 10), "  " + hh_mm(std::stoi(f[14]), std::stoi(f[15]) - 1) + " - ")
          << row;
      EXPECT_EQ(time.substr(10), scheduled + " ") << row;
    } else {
      EXPECT_EQ(time.substr(0, 10), std::string(10, ' ')) << row;
      if (std::stoi(f[2]) < 25) {
        EXPECT_EQ(time.substr(10), scheduled + " ") << row;
      }
    }
    const std::string shown = time.substr(time.find_first_not_of(' '), 5);
    EXPECT_GE(shown, previous_time) << row;
    previous_time = time.substr(time.find_last_not_of(' ') - 4, 5);
  }
}

}  // namespace
}  // namespace scenario
