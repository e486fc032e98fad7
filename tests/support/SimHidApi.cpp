// The hidapi C interface, answered by the simulated unit.
#include <hidapi.h>

#include <cstdlib>
#include <cstring>

#include "tests/support/SimUnit.h"

namespace {

sim::SimUnit& Unit() { return sim::SimUnit::Instance(); }

bool gNonBlocking = false;
const wchar_t kNoUnit[] = L"simulated unit: no such device";

hid_device_info* NewDeviceInfo() {
    auto* info = static_cast<hid_device_info*>(calloc(1, sizeof(hid_device_info)));
    if (!info) return nullptr;
    info->path = strdup("sim-unit");
    info->vendor_id = 0x0483;
    info->product_id = 0x5750;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

}  // namespace

extern "C" {

int HID_API_EXPORT hid_init(void) { return 0; }
int HID_API_EXPORT hid_exit(void) { return 0; }

hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                          unsigned short product_id) {
    if (!Unit().IsPresent()) return nullptr;
    if ((vendor_id && vendor_id != 0x0483) || (product_id && product_id != 0x5750)) return nullptr;
    return NewDeviceInfo();
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(hid_device_info* devs) {
    while (devs) {
        hid_device_info* next = devs->next;
        free(devs->path);
        free(devs);
        devs = next;
    }
}

hid_device HID_API_EXPORT* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                const wchar_t*) {
    if (vendor_id != 0x0483 || product_id != 0x5750) return nullptr;
    return static_cast<hid_device*>(Unit().Open());
}

hid_device HID_API_EXPORT* HID_API_CALL hid_open_path(const char* path) {
    if (!path || std::strcmp(path, "sim-unit") != 0) return nullptr;
    return static_cast<hid_device*>(Unit().Open());
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length) {
    return Unit().Write(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                                int milliseconds) {
    return Unit().Read(dev, data, length, milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length) {
    return Unit().Read(dev, data, length, gNonBlocking ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device*, int nonblock) {
    gNonBlocking = nonblock != 0;
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device*, const unsigned char*, size_t) {
    return -1;
}
int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device*, unsigned char*, size_t) { return -1; }
int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device*, unsigned char*, size_t) { return -1; }

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
    if (dev) Unit().Close(dev);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return Unit().GetString(dev, 0, string, maxlen);
}
int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return Unit().GetString(dev, 1, string, maxlen);
}
int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    return Unit().GetString(dev, 2, string, maxlen);
}
int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device* dev, int string_index, wchar_t* string,
                                               size_t maxlen) {
    return string_index == 1 ? Unit().GetString(dev, 3, string, maxlen) : -1;
}

hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device*) {
    static hid_device_info info = {const_cast<char*>("sim-unit"), 0x0483, 0x5750, nullptr, 0,
                                   nullptr, nullptr, 0, 0, 0, nullptr, HID_API_BUS_USB};
    return &info;
}

const wchar_t HID_API_EXPORT* HID_API_CALL hid_error(hid_device*) { return kNoUnit; }

const hid_api_version HID_API_EXPORT* HID_API_CALL hid_version(void) {
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

const char HID_API_EXPORT* HID_API_CALL hid_version_str(void) { return HID_API_VERSION_STR; }

}  // extern "C"
