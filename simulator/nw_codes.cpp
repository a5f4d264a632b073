#include "nw_codes.h"

#include "nwrfc_library.h"
#include "nwrfc_names.h"

namespace rfcsim {

std::optional<int32_t> rfc_rc_named(std::string_view name) {
    return wickerby::nwrfc::value_named(wickerby::nwrfc::returnCodeNames, name);
}

std::string rfc_rc_name(int32_t code) {
    return wickerby::nwrfc::name_of(wickerby::nwrfc::returnCodeNames, code);
}

int32_t error_group_of(int32_t code) {
    switch (code) {
    case RFC_OK: return OK;
    case RFC_COMMUNICATION_FAILURE: return COMMUNICATION_FAILURE;
    case RFC_LOGON_FAILURE: return LOGON_FAILURE;
    case RFC_ABAP_RUNTIME_FAILURE: return ABAP_RUNTIME_FAILURE;
    case RFC_ABAP_MESSAGE:
    case RFC_ABAP_EXCEPTION:
    case RFC_ABAP_CLASS_EXCEPTION: return ABAP_APPLICATION_FAILURE;
    case RFC_AUTHORIZATION_FAILURE: return EXTERNAL_AUTHORIZATION_FAILURE;
    default: return EXTERNAL_RUNTIME_FAILURE;
    }
}

}  // namespace rfcsim
