// t48-printer-sim ROWS-FILE [REQUEST-LOG]
// A simulated T48 printer: snmpd's pass_persist handler for the printer profile table.
// It reads commands on standard input and answers on standard output, one value per
// request, until snmpd closes the pipe. With REQUEST-LOG, every "get" and "getnext" is
// appended to that file as "<command> <identifier>". Exit status 2 when the rows file is
// unusable.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "profile-table.hpp"

namespace {

using t48::sim::TableValue;

void answer(const TableValue* value) {
    if (value == nullptr) {
        std::cout << "NONE\n";
    } else {
        std::cout << t48::sim::formatOid(value->name) << '\n'
                  << value->type << '\n'
                  << value->value << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: t48-printer-sim ROWS-FILE [REQUEST-LOG]\n";
        return 2;
    }
    auto rows = t48::sim::readRowsFile(argv[1]);
    if (!rows) {
        std::cerr << "t48-printer-sim: cannot use rows file " << argv[1] << '\n';
        return 2;
    }
    const std::vector<TableValue> values = t48::sim::tableValues(*rows);
    std::ofstream requestLog;
    if (argc == 3) {
        requestLog.open(argv[2], std::ios::app);
    }

    std::string command;
    while (std::getline(std::cin, command)) {
        if (command == "PING") {
            std::cout << "PONG\n";
        } else if (command == "get" || command == "getnext") {
            std::string name;
            if (!std::getline(std::cin, name)) {
                break;
            }
            if (requestLog.is_open()) {
                requestLog << command << ' ' << name << std::endl;
            }
            auto oid = t48::sim::parseOid(name);
            if (!oid) {
                answer(nullptr);
            } else {
                answer(command == "get" ? t48::sim::findExact(values, *oid)
                                        : t48::sim::findNext(values, *oid));
            }
        } else if (command == "set") {
            std::string ignored;
            std::getline(std::cin, ignored);
            std::getline(std::cin, ignored);
            std::cout << "not-writable\n";
        } else {
            // Unknown command or an empty line: snmpd expects nothing back.
            continue;
        }
        std::cout.flush();
    }
    return 0;
}
