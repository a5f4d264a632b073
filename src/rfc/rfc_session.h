// What one process keeps for its talks with SAP, from the first system it
// measures to the last.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "rfc_library.h"

// The three records handed to RfcOpen and the texts they point to. One set
// serves the whole process: the system number stays from one system to the
// next when a later profile has none.
struct ConnectionRecords {
    RfcConnectionOptions options{};
    RfcGatewayRecord gateway{};
    RfcR3ConnectionRecord r3{};
    std::string destination, client, user, password, language, mode;
    std::string hostname, sysnr, gwhost, gwservice;
    std::string connectString;
};

struct RfcSession {
    ConnectionRecords records;
    // The line structure THLINES is installed on the first call of the
    // process and serves every later one, over every connection.
    bool lineTypeInstalled = false;
    LineTypeHandle lineType = 0;
    // The library operation the run waits in, while it waits for a system;
    // read by the deadline's watch on another thread.
    std::atomic<const char*> waitingIn{nullptr};
    // Told each change of waitingIn, when set: a listing's worker tells its
    // parent that way.
    std::function<void(const char* operation)> waitingTold;
    // The open connection and what its call left, as the back end keeps
    // them: the classic library's handle and table, or the NetWeaver
    // library's connection and function.
    RfcHandle handle = 0;
    TableHandle table = nullptr;
    void* nwConnection = nullptr;
    void* nwFunction = nullptr;
    // Why the last opening made no library call at all (a configuration
    // that could not be written); empty when it called the library.
    std::string openProblem;
};

// Marks the session as waiting in an operation for as long as it lives.
struct WaitingIn {
    RfcSession& session;
    WaitingIn(RfcSession& waiting, const char* operation) : session(waiting) {
        session.waitingIn = operation;
        if (session.waitingTold) session.waitingTold(operation);
    }
    ~WaitingIn() {
        session.waitingIn = nullptr;
        if (session.waitingTold) session.waitingTold(nullptr);
    }
    WaitingIn(const WaitingIn&) = delete;
    WaitingIn& operator=(const WaitingIn&) = delete;
};
