#include <map>

#include "credentials.h"
#include "password.h"
#include "profile.h"
#include "profile_search.h"
#include "profile_tool.h"
#include "text_helpers.h"

namespace {

// The options of create as given: field name to value, --force, and the
// variables of PRTG that User and Password are taken from.
struct CreateRequest {
    std::string file;
    std::map<std::string, std::string> values;
    bool force = false;
    std::map<std::string, std::string> variables;  // "user" or "password" to the variable's name
    std::vector<std::string> allowedHosts;         // --allow-host, in order
};

// "user-from-prtg" and "password-from-prtg" name the field they stand for.
constexpr const char* fromPrtgSuffix = "-from-prtg";

std::string from_prtg_field(const std::string& option) {
    const std::string suffix = fromPrtgSuffix;
    if (option.size() <= suffix.size() || option.compare(option.size() - suffix.size(), suffix.size(), suffix) != 0)
        return "";
    const std::string field = option.substr(0, option.size() - suffix.size());
    return field == "user" || field == "password" ? field : "";
}

// Takes --user-from-prtg or --password-from-prtg with its variable; the problem, if any.
std::string take_variable(const std::string& option, const std::string& variable, CreateRequest& request) {
    const std::string field = from_prtg_field(option);
    if (!is_prtg_variable(variable))
        return "--" + option + " needs a variable that PRTG sets, such as prtg_windows" + field + " (\"" +
               prtgVariablePrefix + "\" and at most " +
               std::to_string(prtgVariableMaxLength - std::string(prtgVariablePrefix).size()) +
               " letters, digits or _); \"" + variable + "\" is not one";
    if (!request.variables.emplace(field, variable).second) return "--" + option + " is given twice";
    return "";
}

const ProfileField* field_named(const std::string& name) {
    for (const ProfileField& field : profileFields)
        if (name == field.name && field.value != &ConnectionProfile::password) return &field;
    return nullptr;
}

// Takes the arguments apart; the problem is empty when they are well formed.
std::string parse_create(const std::vector<std::string>& arguments, CreateRequest& request) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            if (!request.file.empty()) return "unexpected argument '" + argument + "'";
            request.file = argument;
            continue;
        }
        std::string name = argument.substr(2);
        std::optional<std::string> value;
        if (std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "force" && !value) {
            request.force = true;
            continue;
        }
        const bool fromPrtg = !from_prtg_field(name).empty();
        const bool allowHost = name == "allow-host";
        if (!fromPrtg && !allowHost && !field_named(name)) return "unknown option '" + argument + "'";
        if (!value) {
            if (i + 1 >= arguments.size()) return "--" + name + " needs a value";
            value = arguments[++i];
        }
        if (allowHost) {
            // A host name has no blank or comma, which separate them on the line.
            if (value->empty() || value->find_first_of(" ,\t\r\n") != std::string::npos)
                return "--allow-host needs one host name without blanks or commas";
            request.allowedHosts.push_back(*value);
        } else if (fromPrtg) {
            if (std::string problem = take_variable(name, *value, request); !problem.empty()) return problem;
        } else if (!request.values.emplace(name, *value).second) {
            return "--" + name + " is given twice";
        }
    }
    if (request.file.empty()) return "the profile FILE is missing";
    if (request.variables.count("user") && request.values.count("user"))
        return "--user and --user-from-prtg exclude each other";
    if (!request.values.count("extcompany")) request.values["extcompany"] = defaultExtcompany;
    for (const ProfileField& field : profileFields)
        if (field.value != &ConnectionProfile::password && !request.values.count(field.name) &&
            !request.variables.count(field.name))
            return std::string("--") + field.name + " is missing";
    return "";
}

// What the sensor would refuse in a value, named by field and rule.
std::string value_problem(const ProfileField& field, const std::string& value) {
    const std::string option = std::string("--") + field.name;
    if (value.find_first_of("\r\n") != std::string::npos) return option + " must not contain a line break";
    if (profile_field_problem(field, value))
        return option + " must have " + std::to_string(field.minLength) + " to " + std::to_string(field.maxLength) +
               " characters; \"" + value + "\" has " + std::to_string(value.size());
    return "";
}

const ProfileField& field_of(std::string ConnectionProfile::*value) {
    for (const ProfileField& field : profileFields)
        if (field.value == value) return field;
    return profileFields.front();
}

std::string password_problem(const std::string& password) {
    const ProfileField& field = field_of(&ConnectionProfile::password);
    if (profile_field_problem(field, password))
        return "the password must have " + std::to_string(field.minLength) + " to " + std::to_string(field.maxLength) +
               " characters; it has " + std::to_string(password.size());
    if (!is_storable_password(password)) return "the password may hold printable ASCII characters only (blank to '~')";
    return "";
}

// The sensor completes the profile name it is given; a file whose name does
// not survive that is never found under its own name.
std::string name_note(const std::string& file) {
    const std::string base = file.substr(file.find_last_of("\\/") + 1);
    const CompletedName named = complete_profile_name(base);
    if (named.global) return "Note: the sensor reads the name " + base + " as its global server listing.\n";
    if (named.fileName != base)
        return "Note: the sensor, given the name " + base + ", looks for the file " + named.fileName + ".\n";
    return "";
}

// Where PRTG's setting must be switched on for the profile to work.
std::string variables_note(const CreateRequest& request) {
    if (request.variables.empty()) return "";
    return "Note: the sensor takes the profile's credentials from PRTG only with its setting \"Set placeholders as "
           "environment values\" switched on.\n";
}

// The profile in the sensor's format, keys in their order, CR LF line ends
// as written on the probe. A value PRTG keeps names its variable, as written.
std::string profile_text(const CreateRequest& request, const std::string& storedPassword) {
    std::string text;
    for (const ProfileField& field : profileFields) {
        const bool isPassword = field.value == &ConnectionProfile::password;
        std::string value;
        if (const auto variable = request.variables.find(field.name); variable != request.variables.end())
            value = credential_placeholder(variable->second);
        else if (isPassword) value = storedPassword;
        else if (field.value == &ConnectionProfile::user) value = upper_cased(request.values.at(field.name));
        else value = request.values.at(field.name);
        text += std::string(field.key) + " " + value + "\r\n";
    }
    // One line a host keeps each line within the sensor's line width.
    for (const std::string& host : request.allowedHosts) text += std::string(allowedHostKey) + " " + host + "\r\n";
    return text;
}

ToolOutcome refusal(const std::string& message) {
    return {"", "wickerby-profile create: " + message + "\n", toolFailure};
}

}  // namespace

ToolOutcome run_create(const std::vector<std::string>& arguments, const ToolContext& context) {
    if (asks_for_help(arguments)) return {create_help(), "", 0};
    if (std::optional<ToolOutcome> refused = refusal_in_program_folder("create", context)) return *refused;
    CreateRequest request;
    if (std::string problem = parse_create(arguments, request); !problem.empty())
        return usage_failure("create", problem);
    for (const ProfileField& field : profileFields) {
        if (field.value == &ConnectionProfile::password || !request.values.count(field.name)) continue;
        if (const std::string problem = value_problem(field, request.values.at(field.name)); !problem.empty())
            return refusal(problem);
    }
    if (!request.force && context.fileOpens(request.file))
        return refusal(request.file + " exists; --force replaces it");

    std::optional<std::string> stored;
    if (!request.variables.count("password")) {
        std::string problem;
        std::optional<std::string> password = read_new_password(context, problem);
        if (!password) return refusal(problem);
        if (problem = password_problem(*password); !problem.empty()) return refusal(problem);
        stored = scramble_password(*password);
        if (!stored) return refusal("this password has no printable stored form; choose another");
    }

    if (!context.replaceFile(request.file, profile_text(request, stored.value_or(""))))
        return refusal("cannot write " + request.file);
    return {"Profile " + request.file + " written.\n" + name_note(request.file) + variables_note(request), "", 0};
}
