#include "label_line.h"

std::string label_line(const std::string& label, std::size_t indent, std::size_t labelWidth, const std::string& value) {
    std::string line(indent, ' ');
    line += label;
    if (label.size() < labelWidth) line.append(labelWidth - label.size(), ' ');
    return line + " : " + value + "\n";
}
