#pragma once

#include "TrackPoint.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstddef>

// The 45 keys of a point section, in the order they are written, each with the
// TrackPoint field it fills.
struct TrackField {
    enum Kind { U8, I32, F64 };
    const char *key;       // as in the file, Windows-1251
    const char *fieldName; // the TrackPoint member, ASCII
    Kind kind;
    std::size_t offset;
};

// "Н_Pole" starts with the Cyrillic capital En (0xCD in Windows-1251).
#define TRAVIK_FIELD(name, kind) TrackField{#name, #name, TrackField::kind, offsetof(TrackPoint, name)}
inline constexpr std::array<TrackField, 45> kTrackFields = {{
    TRAVIK_FIELD(Hours, U8), TRAVIK_FIELD(Minutes, U8), TRAVIK_FIELD(Seconds, U8),
    TRAVIK_FIELD(Day, U8), TRAVIK_FIELD(Month, U8), TRAVIK_FIELD(Year, U8),
    TRAVIK_FIELD(Lat, F64), TRAVIK_FIELD(Lng, F64), TRAVIK_FIELD(E_Pole, I32),
    TRAVIK_FIELD(Glub, F64), TRAVIK_FIELD(Tok, F64),
    TRAVIK_FIELD(filtr_st, U8), TRAVIK_FIELD(trace_DCR, U8), TRAVIK_FIELD(fr_sel_flag, U8),
    TRAVIK_FIELD(fr_prom_flag, U8), TRAVIK_FIELD(setting_flag, U8), TRAVIK_FIELD(write_flag, U8),
    TRAVIK_FIELD(write_step, U8), TRAVIK_FIELD(Bat, I32),
    TrackField{"\xCD_Pole", "H_Pole", TrackField::I32, offsetof(TrackPoint, H_Pole)},
    TRAVIK_FIELD(Reserv_0, U8), TRAVIK_FIELD(Reserv_1, U8), TRAVIK_FIELD(Reserv_2, U8),
    TRAVIK_FIELD(Reserv_3, U8), TRAVIK_FIELD(Reserv_4, U8), TRAVIK_FIELD(Reserv_5, U8),
    TRAVIK_FIELD(A_Sel, I32), TRAVIK_FIELD(B_Sel, I32), TRAVIK_FIELD(C_Sel, I32),
    TRAVIK_FIELD(D_Sel, I32), TRAVIK_FIELD(E_Sel, I32),
    TRAVIK_FIELD(A_Prom, I32), TRAVIK_FIELD(B_Prom, I32), TRAVIK_FIELD(C_Prom, I32),
    TRAVIK_FIELD(D_Prom, I32), TRAVIK_FIELD(E_Prom, I32),
    TRAVIK_FIELD(Us_Sel, U8), TRAVIK_FIELD(Us_Prom, U8), TRAVIK_FIELD(Us_Mshu, U8),
    TRAVIK_FIELD(Reserv_6, U8), TRAVIK_FIELD(Reserv_7, U8), TRAVIK_FIELD(Reserv_8, U8),
    TRAVIK_FIELD(Reserv_9, U8), TRAVIK_FIELD(Reserv_10, U8), TRAVIK_FIELD(Reserv_11, U8),
}};
#undef TRAVIK_FIELD

// Fills a field from its text: 8-bit fields take the low eight bits of the
// integer, anything that is not a number gives 0.
void setTrackField(TrackPoint &p, const TrackField &f, QByteArrayView text);
// A field's text: integers in decimal, reals in the general format. out holds
// at least kMaxFieldChars; returns the length.
inline constexpr std::size_t kMaxFieldChars = 32;
std::size_t formatTrackField(char *out, const TrackPoint &p, const TrackField &f, char decimalSeparator);
void appendTrackField(QByteArray &out, const TrackPoint &p, const TrackField &f, char decimalSeparator);
