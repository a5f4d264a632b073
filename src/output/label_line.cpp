#include "output/label_line.h"

#include "platform/console.h"

std::string label_line(const std::string& label, std::size_t indent, std::size_t labelWidth,
                       const std::string& value) {
    std::string line(indent, ' ');
    line += label;
    if (label.size() < labelWidth) line.append(labelWidth - label.size(), ' ');
    return line + " : " + value + "\n";
}

void print_label_line(const std::string& label, std::size_t indent, std::size_t labelWidth,
                      const std::string& value) {
    write_output(label_line(label, indent, labelWidth, value));
}
