#pragma once

#include <cstdint>

struct wl_interface;

// The four interfaces of a data-control protocol family, described for libwayland-client by hand:
// the system ships neither protocol's definition. The wlroots family and its successor in the
// shared protocols have the same requests and events under other names.
struct DataControlProtocol {
    const char* managerName;
    const wl_interface* manager;
    const wl_interface* device;
    const wl_interface* source;
    const wl_interface* offer;
    // The manager's version that brought the primary selection (the newest described here).
    std::uint32_t primarySince;

    // Request opcodes, the same in both families.
    enum ManagerRequest : std::uint32_t { CreateDataSource = 0, GetDataDevice = 1, DestroyManager = 2 };
    enum DeviceRequest : std::uint32_t { SetSelection = 0, DestroyDevice = 1, SetPrimarySelection = 2 };
    enum SourceRequest : std::uint32_t { Offer = 0, DestroySource = 1 };
    enum OfferRequest : std::uint32_t { Receive = 0, DestroyOffer = 1 };

    static const DataControlProtocol& ext();
    static const DataControlProtocol& wlr();
};
