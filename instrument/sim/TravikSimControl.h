/* Controls of the emulated instrument for tests and benchmarks, beside the
 * seven functions of the HID library. */
#ifndef TRAVIK_SIM_CONTROL_H
#define TRAVIK_SIM_CONTROL_H

#include "HID_Intf.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Replaces the scenario (INI text, see SimScenario.h) and resets the device. */
HID_EXPORT void TravikSimConfigure(const char *scenarioText);
/* Plugs the instrument in or pulls it out now; the device-change callback follows. */
HID_EXPORT void TravikSimSetAttached(int attached);
/* The output reports received since the last configuration. */
HID_EXPORT int TravikSimWrittenCount(void);
HID_EXPORT void TravikSimWrittenReport(int index, uint8_t *report65);
HID_EXPORT long long TravikSimDeliveredReports(void);
/* Returns when every queued report has been delivered. */
HID_EXPORT void TravikSimWaitIdle(void);

#ifdef __cplusplus
}
#endif

#endif
