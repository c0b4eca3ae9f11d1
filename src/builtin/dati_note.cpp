#include "builtin/driver_documents.h"

namespace scenario {
namespace {

// The notes: title, the simulated stretch, credit and contact, the timetable
// edition. Trailing blanks are part of the text.
constexpr std::string_view kNote[] = {
    "Simulazione del treno Intercity 593 'Lanterna Azzurra' Lucedia-Varcona ",
    "(tratto simulato Orvale - Varcona Centrale).",
    "Buon divertimento",
    "",
    "                   Elvio Marrandi",
    "                  (scenari@orvale-varcona.example)",
    "Orario Giugno 2001",
    "2R ",
    kEndMarker,
};

}  // namespace

LineTable dati_note() { return kNote; }

}  // namespace scenario
