#include "platform/linux/wayland/data_control_protocol.h"

#include <wayland-client-core.h>
#include <wayland-client-protocol.h>

namespace {

// One family's tables. They point at each other, so they live together in one object of static
// storage; nothing in them changes after construction.
struct Family {
    struct Names {
        const char* manager;
        const char* device;
        const char* source;
        const char* offer;
    };

    Family(Names names, int managerVersion, int deviceVersion, const char* primarySignature);

    wl_interface manager{};
    wl_interface device{};
    wl_interface source{};
    wl_interface offer{};

    const wl_interface* none[2]{nullptr, nullptr};
    const wl_interface* newSource[1]{&source};
    const wl_interface* newDeviceOnSeat[2]{&device, &wl_seat_interface};
    const wl_interface* aSource[1]{&source};
    const wl_interface* anOffer[1]{&offer};

    // clang-format off
    const wl_message managerRequests[3]{
        {"create_data_source", "n", newSource},
        {"get_data_device", "no", newDeviceOnSeat},
        {"destroy", "", none},
    };
    const wl_message deviceRequests[3];
    const wl_message deviceEvents[4];
    const wl_message sourceRequests[2]{
        {"offer", "s", none},
        {"destroy", "", none},
    };
    const wl_message sourceEvents[2]{
        {"send", "sh", none},
        {"cancelled", "", none},
    };
    const wl_message offerRequests[2]{
        {"receive", "sh", none},
        {"destroy", "", none},
    };
    const wl_message offerEvents[1]{
        {"offer", "s", none},
    };
    // clang-format on
};

Family::Family(Names names, int managerVersion, int deviceVersion, const char* primarySignature)
    // clang-format off
    : deviceRequests{
        {"set_selection", "?o", aSource},
        {"destroy", "", none},
        {"set_primary_selection", primarySignature, aSource},
    }
    , deviceEvents{
        {"data_offer", "n", anOffer},
        {"selection", "?o", anOffer},
        {"finished", "", none},
        {"primary_selection", primarySignature, anOffer},
    }
// clang-format on
{
    manager = {names.manager, managerVersion, 3, managerRequests, 0, nullptr};
    device = {names.device, deviceVersion, 3, deviceRequests, 4, deviceEvents};
    source = {names.source, 1, 2, sourceRequests, 2, sourceEvents};
    offer = {names.offer, 1, 1, offerRequests, 1, offerEvents};
}

DataControlProtocol describe(const Family& family)
{
    return {family.manager.name, &family.manager, &family.device,
            &family.source,      &family.offer,   std::uint32_t(family.manager.version)};
}

} // namespace

const DataControlProtocol& DataControlProtocol::ext()
{
    static const Family family({"ext_data_control_manager_v1", "ext_data_control_device_v1",
                                "ext_data_control_source_v1", "ext_data_control_offer_v1"},
                               1, 1, "?o");
    static const DataControlProtocol protocol = describe(family);
    return protocol;
}

const DataControlProtocol& DataControlProtocol::wlr()
{
    // The primary selection came with version 2 of the wlroots family.
    static const Family family({"zwlr_data_control_manager_v1", "zwlr_data_control_device_v1",
                                "zwlr_data_control_source_v1", "zwlr_data_control_offer_v1"},
                               2, 2, "2?o");
    static const DataControlProtocol protocol = describe(family);
    return protocol;
}
