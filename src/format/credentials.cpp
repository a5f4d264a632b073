#include "credentials.h"

#include <cctype>

#include "messages.h"
#include "text_helpers.h"

bool is_credential_field(const ProfileField& field) {
    for (std::string ConnectionProfile::*credential : credentialFields)
        if (field.value == credential) return true;
    return false;
}

bool is_prtg_variable(const std::string& name) {
    const std::string prefix = prtgVariablePrefix;
    if (name.size() <= prefix.size() || name.size() > prtgVariableMaxLength) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return false;
    for (const char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

std::optional<std::string> credential_source(const std::string& value) {
    if (value.size() < 2 || value.front() != '%' || value.back() != '%') return std::nullopt;
    std::string name = value.substr(1, value.size() - 2);
    if (!is_prtg_variable(name)) return std::nullopt;
    return name;
}

std::string credential_placeholder(const std::string& variable) {
    return "%" + variable + "%";
}

std::string credential_source_text(const std::string& variable, const std::optional<std::string>& value) {
    const char* state = !value ? "not set" : value->empty() ? "empty" : "set";
    return "from the environment variable " + variable + ", " + state;
}

std::optional<std::string> take_credentials(ConnectionProfile& profile, const EnvironmentLookup& environment,
                                            const std::string& profileName) {
    for (std::string ConnectionProfile::*field : credentialFields) {
        const std::optional<std::string> variable = credential_source(profile.*field);
        if (!variable) continue;
        const std::optional<std::string> value = environment(*variable);
        if (!value) return variable_not_set_message(profileName, *variable);
        if (value->empty()) return variable_empty_message(profileName, *variable);
        profile.*field = field == &ConnectionProfile::user ? upper_cased(*value) : *value;
    }
    return std::nullopt;
}
