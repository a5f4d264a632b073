/* The floor of a single-system run: the least a process can do that prints
 * the same PRTG document as the sensor. It is linked statically, so that it
 * pays no dynamic loading, and writes the document with one system call;
 * the sensor's wall time is compared with this one's. */
#include <string.h>
#include <unistd.h>

/* The sensor's document for the example system PRD (bench/run.sh checks
 * that both are the same size). */
static const char document[] =
    "\n"
    "<Prtg>\n"
    "\n"
    "<Text>(PRD) Sys-Queue[DIA]: QueSize=3.135, Reads=536.194, Writes=536.210, MaxQue=2.947, Waitings=16</Text>\n"
    "\n"
    "<Result><Channel>Requests NoWork</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>1520</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Dialog</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>512326</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Batch</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>989</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Update</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>12040</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Update2</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>77</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests EnQueue</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>8812</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Spool</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>430</Value></Result>\n"
    "\n"
    "<Result><Channel>Requests Waiting</Channel>\n"
    "<Unit>Custom</Unit>\n"
    "<CustomUnit>Reqs</CustomUnit>\n"
    "<Value>16</Value></Result>\n"
    "\n"
    "</Prtg>\n";

int main(void) {
    size_t size = sizeof document - 1;
    return write(1, document, size) == (ssize_t)size ? 0 : 1;
}
