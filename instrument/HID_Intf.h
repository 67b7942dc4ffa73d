/* The instrument's USB HID library: seven C functions, bound by name when the
 * program starts. */
#ifndef TRAVIK_HID_INTF_H
#define TRAVIK_HID_INTF_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* byte 0: report id, 1..64: payload */
typedef struct {
    uint8_t data[65];
} HIDReport;

/* Size of the record HIDGetDeviceInfo fills. Vendor id little-endian at
 * 416-417, product id at 418-419, product name at 678 as a length byte
 * followed by its characters. */
#define HID_DEVICE_RECORD_SIZE 1191
#define HID_RECORD_VENDOR_ID 416
#define HID_RECORD_PRODUCT_ID 418
#define HID_RECORD_PRODUCT_NAME 678

#if defined(_WIN32)
#define HID_EXPORT __declspec(dllexport)
#else
#define HID_EXPORT __attribute__((visibility("default")))
#endif

HID_EXPORT uint8_t HIDscanForDevices(void);
HID_EXPORT void HIDGetDeviceInfo(uint8_t index, uint8_t *record);
HID_EXPORT void HIDopenDevice(uint8_t index);
HID_EXPORT void HIDcloseDevice(void);
HID_EXPORT void HIDwriteDevice(HIDReport report);
HID_EXPORT void HIDsetEventHandler(void (*onInputReport)(HIDReport report));
HID_EXPORT void USBsetEventHandler(void (*onDeviceChange)(void));

#ifdef __cplusplus
}
#endif

#endif
