// The readers' findings in each language: the Italian words verbatim, the
// English ones unchanged, for the same mistakes.

#include <gtest/gtest.h>

#include <string>

#include "testing/language_mistakes.h"

namespace scenario {
namespace {

using test::LanguageMistake;

TEST(ReaderFindings, SpeakTheLanguageOfTheRun) {
  const LanguageMistake mistakes[] = {
      {"a decimal number", true, "pendenza,  150,   6", "pendenza,  150,   6.5",
       "Orvale_Varcona_linea.txt:14:19-22: error: expected a whole number for the gradient in permille, found \"6.5\": the sources hold whole numbers only, with no decimals [S25]\n",
       "Orvale_Varcona_linea.txt:14:19-22: error: atteso un numero intero per «pendenza in per mille», trovato \"6.5\": le sorgenti contengono solo numeri interi, senza decimali [S25]\n"},
      {"a gradient cut short", true, "pendenza,  900,   0", "pendenza,  900",
       "Orvale_Varcona_linea.txt:16:1-9: error: the gradient entry is cut short: missing the gradient in permille (found \"[montagne]\" on line 17 instead) [S25]\n",
       "Orvale_Varcona_linea.txt:16:1-9: error: la voce «pendenza» è incompleta; valori mancanti: «pendenza in per mille» (alla riga 17 c'è invece \"[montagne]\") [S25]\n"},
      {"a curve without its class", true, "curvas4,  600", "curvas,  600",
       "Orvale_Varcona_linea.txt:12:1-7: error: the curve keyword \"curvas\" holds no class digit 1 to 6 (as in \"curvad2\") [S103]\n",
       "Orvale_Varcona_linea.txt:12:1-7: error: la parola chiave della curva \"curvas\" non contiene una cifra di classe da 1 a 6 (come in \"curvad2\") [S103]\n"},
      {"overlapping tunnels", true, "montagna,   2000,  2600,  11\r\n",
       "montagna,   2000,  2600,  11\r\nmontagna,   2400,  2800,  1\r\n",
       "Orvale_Varcona_linea.txt:19:13-17: warning: the tunnel from 2400 m to 2800 m overlaps the tunnel from 2000 m to 2600 m (line 18): the cells they share take this tunnel's kind [tunnel-overlap]\n"
       "  Orvale_Varcona_linea.txt:18:1-9: note: the tunnel from 2000 m to 2600 m is here\n",
       "Orvale_Varcona_linea.txt:19:13-17: warning: la galleria da 2400 m a 2800 m si sovrappone alla galleria da 2000 m a 2600 m (riga 18): le celle in comune prendono il tipo di questa galleria [tunnel-overlap]\n"
       "  Orvale_Varcona_linea.txt:18:1-9: note: la galleria da 2000 m a 2600 m è qui\n"},
      {"a signal past the line", false, "segnale, 4800", "segnale, 48000",
       "Orvale_Varcona_593-.txt:11:10-15: error: the signal position 48000 m lies outside the line: valid are positions up to 7900 m (the rest of the train source is passed over) [S15]\n",
       "Orvale_Varcona_593-.txt:11:10-15: error: la progressiva 48000 m del segnale è fuori dalla linea: sono valide le progressive fino a 7900 m (il resto della sorgente del treno viene saltato) [S15]\n"},
      {"a board on a taken cell", true, "cartello_indicatore,  2550", "cartello_indicatore,  2050",
       "Orvale_Varcona_linea.txt:22:23-27: error: the cell of the indication board at 2050 m (cell 42) is taken by a maximum-speed indicator board at 2050 m, from Orvale_Varcona_linea.txt line 20 [S6]\n",
       "Orvale_Varcona_linea.txt:22:23-27: error: la cella del cartello indicatore a 2050 m (cella 42) è occupata: vi si trova un cartello indicatore di velocità massima a 2050 m (Orvale_Varcona_linea.txt, riga 20) [S6]\n"},
      {"a signal on a restriction's board", false, "segnale, 4800", "segnale, 3500",
       "Orvale_Varcona_593-.txt:11:10-14: error: the cell of the signal at 3500 m (cell 71) is taken by the start board of a speed restriction at 3500 m, from Orvale_Varcona_593-.txt line 10 [S16]\n",
       "Orvale_Varcona_593-.txt:11:10-14: error: la cella del segnale a 3500 m (cella 71) è occupata: vi si trova il cartello di inizio di un rallentamento a 3500 m (Orvale_Varcona_593-.txt, riga 10) [S16]\n"},
      {"a train source cut short", false, "abbattimento, 5500, 70", "abbattimento, 5500",
       "Orvale_Varcona_593-.txt:12:1-13: error: the code-reduction point entry is cut short: missing the code value (found \"stazione\" on line 13 instead) [S25]\n",
       "Orvale_Varcona_593-.txt:12:1-13: error: la voce «punto di abbattimento» è incompleta; valori mancanti: «valore del codice» (alla riga 13 c'è invece \"stazione\") [S25]\n"},
      {"a misspelt keyword", true, "curvad2", "curvd2",
       "Orvale_Varcona_linea.txt:11:1-7: warning: \"curvd2\" matches no keyword of the line source's body and is dropped, with the values after it; did you mean \"curvad2\"? [unknown-keyword]\n",
       "Orvale_Varcona_linea.txt:11:1-7: warning: \"curvd2\" non è una parola chiave valida qui (il corpo della sorgente della linea) e viene scartato, con i valori che lo seguono; forse intendevi \"curvad2\"? [unknown-keyword]\n"},
      {"gradients out of order", true, "pendenza,  500", "pendenza,  100",
       "Orvale_Varcona_linea.txt:15:1-9: warning: the gradient at 100 m comes after one at 150 m (line 14): these entries must go in ascending order of position, or they do not take effect where they say [out-of-order]\n",
       "Orvale_Varcona_linea.txt:15:1-9: warning: «pendenza» a 100 m viene dopo una voce a 150 m (riga 14): queste voci vanno in ordine crescente di progressiva, altrimenti non hanno effetto dove dicono [out-of-order]\n"},
      {"a gradient kept in a byte", true, "pendenza,  900,   0", "pendenza,  900,   200",
       "Orvale_Varcona_linea.txt:16:19-22: warning: the value 200 of the gradient in permille does not fit its field (-100..155): only its low bits are kept, and it is stored as -56 [narrowed-value]\n",
       "Orvale_Varcona_linea.txt:16:19-22: warning: il valore 200 di «pendenza in per mille» non entra nel suo campo (-100..155): se ne tengono solo i bit bassi, e viene registrato come -56 [narrowed-value]\n"},
      {"a station without its name", false, "7,16,0, Miralto", "7,16,0,",
       "Orvale_Varcona_593-.txt:9:60-60: warning: the station name is empty: the simulator shows nothing for it [empty-text]\n",
       "Orvale_Varcona_593-.txt:9:60-60: warning: il nome della stazione è vuoto: il simulatore non mostra nulla [empty-text]\n"},
      {"stations too close", false, "stazione, 6000", "stazione, 1800",
       "Orvale_Varcona_593-.txt:13:1-9: error: the station at 1800 m (extent 1700..1900 m) is too close to the previous station at 1500 m (extent 1300..1700 m): a station must start at least 350 m after the previous one ends [S22]\n",
       "Orvale_Varcona_593-.txt:13:1-9: error: la stazione a 1800 m (estensione 1700..1900 m) è troppo vicina alla stazione precedente a 1500 m (estensione 1300..1700 m): una stazione deve iniziare almeno 350 m dopo la fine della precedente [S22]\n"},
  };
  for (const LanguageMistake& mistake : mistakes) test::expect_findings_in_each_language(mistake);
}

}  // namespace
}  // namespace scenario
