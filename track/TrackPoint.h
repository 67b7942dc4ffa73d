#pragma once

#include <cstdint>

// One recorded point, field for field the point section of a track file.
struct TrackPoint {
    uint8_t Hours;
    uint8_t Minutes;
    uint8_t Seconds;
    uint8_t Day;
    uint8_t Month;
    uint8_t Year;
    double Lat;
    double Lng;
    int32_t E_Pole;
    double Glub;
    double Tok;
    uint8_t filtr_st;
    uint8_t trace_DCR;
    uint8_t fr_sel_flag;
    uint8_t fr_prom_flag;
    uint8_t setting_flag;
    uint8_t write_flag;
    uint8_t write_step;
    int32_t Bat;
    int32_t H_Pole;
    uint8_t Reserv_0;
    uint8_t Reserv_1;
    uint8_t Reserv_2;
    uint8_t Reserv_3;
    uint8_t Reserv_4;
    uint8_t Reserv_5;
    int32_t A_Sel;
    int32_t B_Sel;
    int32_t C_Sel;
    int32_t D_Sel;
    int32_t E_Sel;
    int32_t A_Prom;
    int32_t B_Prom;
    int32_t C_Prom;
    int32_t D_Prom;
    int32_t E_Prom;
    uint8_t Us_Sel;
    uint8_t Us_Prom;
    uint8_t Us_Mshu;
    uint8_t Reserv_6;
    uint8_t Reserv_7;
    uint8_t Reserv_8;
    uint8_t Reserv_9;
    uint8_t Reserv_10;
    uint8_t Reserv_11;
};
