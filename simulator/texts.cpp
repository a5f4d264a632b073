#include "texts.h"

namespace rfcsim {

namespace {

std::string r3_record(const RfcR3ConnectionRecord& record) {
    return " host=" + log_text(record.hostname) + " sysnr=" + std::to_string(record.systemNumber) +
           " gwhost=" + log_text(record.gatewayHost) + " gwservice=" + log_text(record.gatewayService);
}

std::string gateway_record(const RfcGatewayRecord& record) {
    return " gwhost=" + log_text(record.gatewayHost) + " gwservice=" + log_text(record.gatewayService);
}

}  // namespace

std::string log_text(const char* text) {
    return text ? "[" + std::string(text) + "]" : "none";
}

std::string describe_open_options(const RfcConnectionOptions* options) {
    if (!options) return "options=none";
    std::string text = "destination=" + log_text(options->destination) + " mode=" + std::to_string(options->mode);
    if (!options->connectionData) text += " data=none";
    else if (options->mode == RFC_MODE_R2)
        text += gateway_record(*static_cast<RfcGatewayRecord*>(options->connectionData));
    else text += r3_record(*static_cast<RfcR3ConnectionRecord*>(options->connectionData));
    return text + " client=" + log_text(options->client) + " user=" + log_text(options->user) +
           " password=" + log_text(options->password) + " language=" + log_text(options->language) +
           " trace=" + std::to_string(options->trace);
}

std::string describe_elements(const RfcTypeElement* elements, uint32_t count) {
    if (!elements) return count ? " element=none" : "";
    std::string text;
    for (uint32_t i = 0; i < count; ++i) {
        const RfcTypeElement& element = elements[i];
        text += " element=" + log_text(element.name) + "/" + std::to_string(element.type) + "/" +
                std::to_string(element.length) + "/" + std::to_string(element.decimals) + "/" +
                std::to_string(element.offset);
    }
    return text;
}

std::string describe_tables(const RfcTableDescriptor* tables, bool withLineType) {
    if (!tables || !tables->name) return " table=none";
    std::string text;
    for (; tables->name; ++tables) {
        text += " table=" + log_text(tables->name);
        if (withLineType)
            text += "/" + std::to_string(tables->nameLength) + "/type=" + std::to_string(tables->lineType);
    }
    return text;
}

std::vector<std::string> classic_trace_entry(std::string_view message, const std::tm& localTime) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d %H%M%S", &localTime);
    return {"**** ERROR file opened at " + std::string(stamp), "T:0001 ======> " + std::string(message)};
}

}  // namespace rfcsim
