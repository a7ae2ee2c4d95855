// The link's own texts, as the Windows-1251 bytes that the log file, the link
// memo and the connection label carry.
#pragma once

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

// "Журнал связи приостановлен до следующего дня: файл за день больше 64 МБ"
inline constexpr char kLogPaused[] =
    "\xC6\xF3\xF0\xED\xE0\xEB \xF1\xE2\xFF\xE7\xE8 \xEF\xF0\xE8\xEE\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED "
    "\xE4\xEE \xF1\xEB\xE5\xE4\xF3\xFE\xF9\xE5\xE3\xEE \xE4\xED\xFF: \xF4\xE0\xE9\xEB \xE7\xE0 "
    "\xE4\xE5\xED\xFC \xE1\xEE\xEB\xFC\xF8\xE5 64 \xCC\xC1";

}  // namespace zlink
