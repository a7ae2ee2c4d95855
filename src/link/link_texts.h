// The link's own texts, as the Windows-1251 bytes that the log file, the link
// memo and the connection label carry.
#pragma once

#include <string_view>

namespace zlink {

// ">Открытие "
inline constexpr char kOpening[] = ">\xCE\xF2\xEA\xF0\xFB\xF2\xE8\xE5 ";
// ">Открытие ... OK"
inline constexpr char kOpenedOk[] = ">\xCE\xF2\xEA\xF0\xFB\xF2\xE8\xE5 ... OK";
// ">Ошибка открытия порта"
inline constexpr char kOpenFailed[] =
    ">\xCE\xF8\xE8\xE1\xEA\xE0 \xEE\xF2\xEA\xF0\xFB\xF2\xE8\xFF \xEF\xEE\xF0\xF2\xE0";
// ">Ошибка суммы:"
inline constexpr char kBadSum[] = ">\xCE\xF8\xE8\xE1\xEA\xE0 \xF1\xF3\xEC\xEC\xFB:";
// "ZELT-2GSM - Подключено."
inline constexpr char kConnected[] = "ZELT-2GSM - \xCF\xEE\xE4\xEA\xEB\xFE\xF7\xE5\xED\xEE.";
// "ZELT-2GSM - Нет подключения."
inline constexpr char kNotConnected[] =
    "ZELT-2GSM - \xCD\xE5\xF2 \xEF\xEE\xE4\xEA\xEB\xFE\xF7\xE5\xED\xE8\xFF.";

enum class LinkState { kNotConnected, kConnected };

inline const char* ConnectionText(LinkState state) {
  return state == LinkState::kConnected ? kConnected : kNotConnected;
}

// Any link line holding '>' counts as contact with the device: the program's
// replies, but also its own complaints such as a bad checksum.
inline bool CountsAsContact(std::string_view line) {
  return line.find('>') != std::string_view::npos;
}

// "Журнал связи приостановлен до следующего дня: файл за день больше 64 МБ"
inline constexpr char kLogPaused[] =
    "\xC6\xF3\xF0\xED\xE0\xEB \xF1\xE2\xFF\xE7\xE8 \xEF\xF0\xE8\xEE\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED "
    "\xE4\xEE \xF1\xEB\xE5\xE4\xF3\xFE\xF9\xE5\xE3\xEE \xE4\xED\xFF: \xF4\xE0\xE9\xEB \xE7\xE0 "
    "\xE4\xE5\xED\xFC \xE1\xEE\xEB\xFC\xF8\xE5 64 \xCC\xC1";

// "Журнал связи не записывается, строки теряются: " + the file
inline constexpr char kLogLost[] =
    "\xC6\xF3\xF0\xED\xE0\xEB \xF1\xE2\xFF\xE7\xE8 \xED\xE5 "
    "\xE7\xE0\xEF\xE8\xF1\xFB\xE2\xE0\xE5\xF2\xF1\xFF, "
    "\xF1\xF2\xF0\xEE\xEA\xE8 \xF2\xE5\xF0\xFF\xFE\xF2\xF1\xFF: ";

}  // namespace zlink
