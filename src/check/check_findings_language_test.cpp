// The warnings of the readers, a station's causes and check's own notes and
// fatal errors in each language: the Italian words verbatim, the English ones
// unchanged, for the same mistakes. The severity words and the ids stay as
// they are in every language (editors' problem matchers read them).

#include <gtest/gtest.h>

#include <string>

#include "check/check.h"
#include "testing/language_mistakes.h"
#include "model/cell_grid.h"
#include "testing/check_properties.h"
#include "testing/memory_file_system.h"

namespace scenario {
namespace {

using test::LanguageMistake;

TEST(CheckFindings, SpeakTheLanguageOfTheRun) {
  const LanguageMistake mistakes[] = {
      // The line source.
      {"fields separated by semicolons", true, "montagna,   2000,  2600,  11\r\n",
       "montagna,   2000,  2600,  11\r\ngalleria;  3000;  3200\r\n",
       "Orvale_Varcona_linea.txt:19:1-23: warning: \"galleria;  3000;  3200\" is read as one field: fields are separated by commas, not semicolons [field-separator]\n",
       "Orvale_Varcona_linea.txt:19:1-23: warning: \"galleria;  3000;  3200\" viene letto come un solo campo: i campi sono separati da virgole, non da punti e virgola [field-separator]\n"},
      {"a negative value among semicolons", true, "pendenza,  500,   -4", "pendenza;  500;   -4",
       "Orvale_Varcona_linea.txt:15:1-21: warning: \"pendenza;  500;   -4\" is read as one field, and dropped for the \"-\" it holds: fields are separated by commas, not semicolons [field-separator]\n",
       "Orvale_Varcona_linea.txt:15:1-21: warning: \"pendenza;  500;   -4\" viene letto come un solo campo, e scartato per il \"-\" che contiene: i campi sono separati da virgole, non da punti e virgola [field-separator]\n"},
      {"a comment marker", true, "curvas4,  600,  100", "# curvas4,  600,  100",
       "Orvale_Varcona_linea.txt:12:1-10: warning: this source format has no comments: the line is read like any other and its entry is taken; to leave an entry out, put a \"-\" in front of its keyword (a field holding \"-\" is dropped by the readers) [comment-marker]\n",
       "Orvale_Varcona_linea.txt:12:1-10: warning: questo formato di sorgente non ha commenti: la riga viene letta come ogni altra e la sua voce viene presa; per escludere una voce, metti un \"-\" davanti alla sua parola chiave (un campo che contiene \"-\" viene scartato dai lettori) [comment-marker]\n"},
      {"a decimal comma", true, "pendenza,  150,   6", "pendenza,  150,   6,5",
       "Orvale_Varcona_linea.txt:14:19-22: warning: \"6,5\" is read as 6: the sources hold whole numbers only, with no decimals, and the \"5\" after the comma is dropped [decimal-comma]\n",
       "Orvale_Varcona_linea.txt:14:19-22: warning: \"6,5\" viene letto come 6: le sorgenti contengono solo numeri interi, senza decimali, e il \"5\" dopo la virgola viene scartato [decimal-comma]\n"},
      {"a keyword in capitals", true, "sfondo due", "Sfondo Due",
       "Orvale_Varcona_linea.txt:7:1-11: warning: \"Sfondo Due\" is not taken: the words of this keyword are matched in lower case only, as in \"sfondo due\" [keyword-case]\n",
       "Orvale_Varcona_linea.txt:7:1-11: warning: \"Sfondo Due\" non viene riconosciuto: questa parola chiave vale solo in minuscolo, come in \"sfondo due\" [keyword-case]\n"},
      {"a keyword like none", true, "curvad2", "spirale",
       "Orvale_Varcona_linea.txt:11:1-8: warning: \"spirale\" matches no keyword of the line source's body and is dropped, with the values after it [unknown-keyword]\n",
       "Orvale_Varcona_linea.txt:11:1-8: warning: \"spirale\" non è una parola chiave valida qui (il corpo della sorgente della linea) e viene scartato, con i valori che lo seguono [unknown-keyword]\n"},
      {"a board text ending in blanks", true, "(Km 2+550)", "(Km 2+550)  ",
       "Orvale_Varcona_linea.txt:22:31-43: warning: the board text \"(Km 2+550)  \" ends in blanks or tabs, which the simulator shows as part of it [trailing-blanks]\n",
       "Orvale_Varcona_linea.txt:22:31-43: warning: il testo del cartello \"(Km 2+550)  \" finisce con spazi o tabulazioni, che il simulatore mostra come parte di esso [trailing-blanks]\n"},
      {"a tunnel past the line's end", true, "montagna,   2000,  2600", "montagna,   900,  1200",
       "Orvale_Varcona_linea.txt:18:13-16: warning: the tunnel from 900 m ends at 1200 m, past the end of the line at 1000 m: the part beyond lies in the margin after the line [past-line-end]\n",
       "Orvale_Varcona_linea.txt:18:13-16: warning: galleria da 900 m: finisce a 1200 m, oltre la fine della linea a 1000 m; la parte in eccesso cade nel margine dopo la linea [past-line-end]\n"},
      {"a compile's status told where the compile sets it", true, "indicatori_vmax,  2050",
       "indicatori_vmax,  10050",
       "Orvale_Varcona_linea.txt:20:19-24: error: the position 10050 m lies outside the line: valid are positions from -75 m to 7900 m (the line is 1000 m long; the rest of the line source is passed over) [S15]\n"
       "  Orvale_Varcona_593-.txt:10:16-20: note: compile reports status 15 here instead: the status this error leaves set stops the train reading at the first signal or speed restriction\n",
       "Orvale_Varcona_linea.txt:20:19-24: error: la progressiva 10050 m è fuori dalla linea: sono valide le progressive da -75 m a 7900 m (la linea è lunga 1000 m; il resto della sorgente della linea viene saltato) [S15]\n"
       "  Orvale_Varcona_593-.txt:10:16-20: note: compile segnala qui invece il codice di stato 15: il codice che questo errore lascia impostato ferma la lettura del treno al primo segnale o rallentamento\n"},
      // The train source.
      {"values left over", false, "numero vetture, 8", "numero vetture, 8, 9",
       "Orvale_Varcona_593-.txt:2:20-21: warning: values left over after the coaches entry are dropped, from \"9\" on [extra-values]\n",
       "Orvale_Varcona_593-.txt:2:20-21: warning: i valori rimasti dopo la voce «numero vetture» vengono scartati, da \"9\" in poi [extra-values]\n"},
      {"two speed limits at one position", false, "velocita, 2000, 140", "velocita, 0, 140",
       "Orvale_Varcona_593-.txt:8:1-9: warning: the speed-limit point at 0 m stands at the position of the one on line 7: this later one takes effect from there, and the earlier one holds one cell at most [repeated-position]\n",
       "Orvale_Varcona_593-.txt:8:1-9: warning: «punto di velocità massima» a 0 m sta alla stessa progressiva della voce alla riga 7: da lì in poi vale questa, e quella precedente vale al più per una cella [repeated-position]\n"},
      {"a station name in UTF-8", false, "Miralto", "Città",
       "Orvale_Varcona_593-.txt:9:61-67: warning: the station name \"Città\" holds bytes that look like UTF-8 (\"à\"): the simulator reads code page 1252 and shows each of them as a character of its own [utf8-text]\n",
       "Orvale_Varcona_593-.txt:9:61-67: warning: il nome della stazione \"Città\" contiene byte che sembrano UTF-8 (\"à\"): il simulatore legge la code page 1252 e mostra ciascuno di essi come un carattere a sé [utf8-text]\n"},
      {"a speed restriction past the line's end", false, "rallentamento, 3500",
       "rallentamento, 900",
       "Orvale_Varcona_593-.txt:10:1-14: warning: the speed restriction at 900 m over 400 m ends at 1300 m, past the end of the line at 1000 m: the part beyond lies in the margin after the line [past-line-end]\n",
       "Orvale_Varcona_593-.txt:10:1-14: warning: rallentamento a 900 m lungo 400 m: finisce a 1300 m, oltre la fine della linea a 1000 m; la parte in eccesso cade nel margine dopo la linea [past-line-end]\n"},
      {"a station length off the 100 m", false, "stazione, 6000, 28, 200",
       "stazione, 6000, 28, 250",
       "Orvale_Varcona_593-.txt:13:21-24: error: the station length 250 m is not a multiple of 100 m [S9]\n",
       "Orvale_Varcona_593-.txt:13:21-24: error: la lunghezza 250 m della stazione non è un multiplo di 100 m [S9]\n"},
      {"a code-reduction point on cell 1", false, "abbattimento, 5500, 70", "abbattimento, 50, 70",
       "Orvale_Varcona_593-.txt:12:1-13: error: cell 1 of the grid is reserved for the header stamps (the grid marker), but a code-reduction point at 50 m stands there: move that entry so that its object leaves cell 1; no scenario file is written [F1250]\n",
       "Orvale_Varcona_593-.txt:12:1-13: error: la cella 1 della griglia è riservata ai timbri dell'intestazione (il marcatore della griglia), ma vi si trova un punto di abbattimento a 50 m: sposta quella voce perché il suo oggetto lasci la cella 1; nessun file dello scenario viene scritto [F1250]\n"},
  };
  for (const LanguageMistake& mistake : mistakes) test::expect_findings_in_each_language(mistake);
}

// A fatal stamping error names what holds cell 1: an object the pass of the
// code reductions put there has no entry of its own to name.
TEST(CheckFindings, FatalErrorNamesWhatHoldsCellOneInEachLanguage) {
  struct Case {
    std::int32_t number;
    bool reduction_point;  // cell 1 holds a point of the pass (else there is no grid)
    std::string english, italian;
  };
  const Case cases[] = {
      {1250, true,
       "error: cell 1 of the grid is reserved for the header stamps (the grid marker), but a code-reduction point, added by the code-reduction pass, stands there: move that entry so that its object leaves cell 1; no scenario file is written [F1250]",
       "error: la cella 1 della griglia è riservata ai timbri dell'intestazione (il marcatore della griglia), ma vi si trova un punto di abbattimento (aggiunto dal passaggio degli abbattimenti): sposta quella voce perché il suo oggetto lasci la cella 1; nessun file dello scenario viene scritto [F1250]"},
      {1251, false,
       "error: cell 1 of the grid is reserved for the header stamps (an integrity code), but an object stands there: move that entry so that its object leaves cell 1; no scenario file is written [F1251]",
       "error: la cella 1 della griglia è riservata ai timbri dell'intestazione (un codice di integrità), ma vi si trova un oggetto: sposta quella voce perché il suo oggetto lasci la cella 1; nessun file dello scenario viene scritto [F1251]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    for (const Language language : {Language::english, Language::italian}) {
      MemoryFileSystem files;
      BuildOptions options;
      options.language = language;
      BuildContext context(files, options);
      if (c.reduction_point) {
        context.state.grid = make_cell_grid(1000);
        (*context.state.grid)[1].kind = cell_kind::kReductionPoint;
      }
      EXPECT_EQ(testing::finding_text(fatal_diagnostic(context, c.number)),
                language == Language::english ? c.english : c.italian);
    }
  }
}

}  // namespace
}  // namespace scenario
