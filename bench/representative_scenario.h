#pragma once

// A scenario shaped like a real one, for benchmarks and measurements: a line
// of the given length with a curve every 5 km, a gradient change every 3 km,
// a tunnel every 20 km, indicator boards every 8 km and three indication
// boards; a train with a signal every 3 km, a station every 12 km, speed
// limits every 20 km and two speed restrictions. Positions are chosen so that
// no two objects want the same cell.

#include <cstdint>
#include <string>

namespace scenario::bench {

inline std::string representative_line_source(std::int32_t length) {
  std::string text = "[generale]\r\n";
  text += "lunghezza percorso, " + std::to_string(length) + "\r\n";
  text += "progressiva chilometrica uno, 0, 0, 0\r\n";
  text += "progressiva chilometrica due, 0, 0, 0\r\n";
  text += "progressiva chilometrica tre, 0, 0, 0\r\n";
  text += "sfondo uno, 1\r\nsfondo due, 0\r\nsfondo tre, 0\r\n";
  text += "ripetizione segnali 4 codici, 0, " + std::to_string(length / 50 * 50 - 5000) + "\r\n";
  text += "[curve]\r\n";
  for (std::int32_t s = 3000, k = 0; s + 1000 < length; s += 5000, ++k) {
    text += std::string("curva") + (k % 2 == 0 ? "d" : "s") + std::to_string(1 + k % 6) + ", " +
            std::to_string(s) + ", " + std::to_string(400 + (k % 5) * 100) + "\r\n";
  }
  text += "[pendenze]\r\n";
  for (std::int32_t p = 1500, k = 0; p < length; p += 3000, ++k) {
    text += "pendenza, " + std::to_string(p) + ", " + std::to_string((k % 13) - 6) + "\r\n";
  }
  text += "[montagne]\r\n";
  for (std::int32_t p = 20000; p + 2000 < length; p += 20000) {
    text += "montagna, " + std::to_string(p) + ", " + std::to_string(p + 1500) + ", 11\r\n";
  }
  text += "[cartelli]\r\n";
  for (std::int32_t p = 2550; p + 200 < length; p += 8000) {
    text += "indicatori_vmax, " + std::to_string(p) + ", 120, 130, 140, 0, 120, 130, 140, 0\r\n";
  }
  text += "[indicazioni]\r\n";
  for (std::int32_t p : {25075, length / 2 + 75, length - 925}) {
    const std::string metres = std::to_string(1000 + p % 1000).substr(1);  // zero-padded
    text += "cartello_indicatore, " + std::to_string(p) + ", (Km " + std::to_string(p / 1000) +
            "+" + metres + ")\r\n";
  }
  text += "[fine]\r\n\r\n";
  return text;
}

inline std::string representative_train_source(std::int32_t length) {
  std::string text = "[generale]\r\n";
  text += "numero vetture, 10\r\npercentuale massa frenata, 130\r\nsabbia, 150\r\n";
  text += "orologio, 7 15 0\r\n";
  text += "[aderenze]\r\naderenza, 0, 100\r\n";
  text += "[vel_limite]\r\n";
  for (std::int32_t p = 0, k = 0; p + 1000 < length; p += 20000, ++k) {
    text += "velocita, " + std::to_string(p) + ", " + (k % 2 == 0 ? "140" : "160") + "\r\n";
  }
  text += "[stazioni]\r\n";
  std::int32_t seconds = 7 * 3600 + 20 * 60;
  for (std::int32_t p = 6000, k = 0; p + 1000 < length && k < 70; p += 12000, ++k) {
    const bool stop = k % 3 != 1;
    text += "stazione, " + std::to_string(p) + ", " + (stop ? "12" : "28") + ", 400, 0, 0, 0, " +
            "1,1,0, 4,1,1, " + (stop ? "30" : "0") + ", " + std::to_string(seconds / 3600) +
            "," + std::to_string(seconds / 60 % 60) + ",0, Localita " + std::to_string(k) +
            "\r\n";
    seconds += 420;
  }
  text += "[rallentamenti]\r\n";
  for (std::int32_t x : {100500, 250500}) {
    if (x + 3000 < length) text += "rallentamento, " + std::to_string(x) + ", 60, 1000, 0, 1, 60\r\n";
  }
  text += "[segnali]\r\n";
  for (std::int32_t p = 1000; p + 200 < length; p += 3000) {
    text += "segnale, " + std::to_string(p) + ", 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n";
  }
  text += "[fine]\r\n\r\n";
  return text;
}

}  // namespace scenario::bench
