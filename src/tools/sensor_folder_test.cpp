#include "sensor_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(SensorFolder, OnlyExeAndExeXmlDirectlyInsideCustomSensors) {
    const struct {
        const char* directory;
        bool refused;
    } cases[] = {
        {"C:\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\EXEXML\\", true},
        {"C:\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\EXE\\", true},
        {"c:\\programme\\prtg network monitor\\CUSTOM SENSORS\\ExeXml", true},
        {"D:/PRTG/Custom Sensors/exe/", true},
        {"D:\\PRTG/Custom Sensors\\EXEXML/", true},
        {"\\\\probe\\c$\\PRTG\\Custom Sensors\\EXEXML\\", true},
        {"/opt/prtg/Custom Sensors/EXEXML/", true},
        {"C:\\PRTG\\Custom Sensors\\\\EXEXML\\\\", true},
        {"C:\\PRTG\\Custom Sensors\\EXEXML\\.\\", true},
        {"C:\\PRTG\\Custom Sensors\\EXEXML\\old\\..\\", true},
        {"C:\\PRTG\\Custom Sensors\\EXEXML\\old\\", false},
        {"C:\\PRTG\\Custom Sensors\\EXEXML\\..\\tools\\", false},
        {"C:\\PRTG\\Custom Sensors\\", false},
        {"C:\\PRTG\\Custom Sensors\\tools\\", false},
        {"C:\\PRTG\\tools\\", false},
        {"C:\\PRTG\\EXEXML\\", false},
        {"C:\\PRTG\\CustomSensors\\EXEXML\\", false},
        {"C:\\PRTG\\Custom Sensors \\EXEXML\\", false},
        {"C:\\PRTG\\Custom Sensors\\EXEXML2\\", false},
        {"C:\\PRTG\\Custom Sensors\\EXE XML\\", false},
        {"EXEXML", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_prtg_program_folder(c.directory), c.refused) << c.directory;
}

}  // namespace
