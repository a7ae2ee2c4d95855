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

}  // namespace zlink
