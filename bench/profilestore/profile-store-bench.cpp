// Reading and saving a profile file with every slot of every class in use, beside
// libplist's bare parse and serialisation of the same file.
//
// The file is left at <$T48_ROOT>/.../bench-T48-profile.plist for the plistlib timing
// of profile-store-bench.py, which runs this program.

#include <benchmark/benchmark.h>
#include <expat.h>
#include <libxml/xmlreader.h>
#include <plist/plist.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "profile-paths.hpp"
#include "profile-plist.hpp"
#include "profile-store-private.hpp"
#include "profile-store.hpp"

namespace {

using namespace t48::store;

std::unique_ptr<ProfileList[]> fullLists() {
    auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);
    for (int c = 0; c < kProfileClassCount; ++c) {
        for (int slot = 0; slot < kProfileSlots; ++slot) {
            ProfileEntry& entry = lists[c].litem[slot];
            entry.iIndexOnDevice = slot + 1;
            entry.iInMenu = kStatePrinterConfirmedListed;
            entry.iProfileClass = c + 1;
            entry.iLocation = 4 + slot % 2;
            std::snprintf(entry.FileName, sizeof entry.FileName, "Profile_%03d_class_%d_print.icc",
                          slot, c);
            std::snprintf(entry.ProfileName, sizeof entry.ProfileName,
                          "Printer profile %03d of class %d", slot, c);
        }
        lists[c].iNum = kProfileSlots;
    }
    return lists;
}

void BM_ZTPListReadProfile_All(benchmark::State& state) {
    auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);
    for (auto _ : state) {
        if (ZTPListReadProfile_All(&lists[0], &lists[1], &lists[2]) != kStoreOK) {
            state.SkipWithError("read failed");
        }
    }
}
BENCHMARK(BM_ZTPListReadProfile_All)->Unit(benchmark::kMillisecond);

// A whole crash-safe save: write test, serialisation, temporary file, fsync, rename,
// fsync of the folder.
void BM_ZTPListWriteProfile_All(benchmark::State& state) {
    auto lists = fullLists();
    for (auto _ : state) {
        if (ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) != kStoreOK) {
            state.SkipWithError("write failed");
        }
    }
}
BENCHMARK(BM_ZTPListWriteProfile_All)->Unit(benchmark::kMillisecond)->UseRealTime();

// The serialisation alone: building the property list and plist_to_xml.
void BM_SerializeProfileLists(benchmark::State& state) {
    auto lists = fullLists();
    std::string xml;
    for (auto _ : state) {
        detail::serializeProfileLists(&lists[0], &lists[1], &lists[2], &xml);
        benchmark::DoNotOptimize(xml.data());
    }
}
BENCHMARK(BM_SerializeProfileLists)->Unit(benchmark::kMillisecond);

// The disk's share: the same bytes written to a plain file and fsync'ed, no rename.
void BM_write_fsync_only(benchmark::State& state) {
    std::string xml;
    detail::readCurrentFile(&xml);
    std::string path = ZT_PLIST_PROFILE_PATH + ".plain";
    for (auto _ : state) {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, xml.data(), xml.size()) != static_cast<ssize_t>(xml.size()) ||
            fsync(fd) != 0) {
            state.SkipWithError("plain write failed");
        }
        close(fd);
    }
    unlink(path.c_str());
}
BENCHMARK(BM_write_fsync_only)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parsers the reader could stand on, each over the same bytes with no work of ours:
// expat with no handlers, and libxml2's streaming reader stepping through every node.
void BM_expat_bare_parse(benchmark::State& state) {
    std::string xml;
    detail::readCurrentFile(&xml);
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) !=
            XML_STATUS_OK) {
            state.SkipWithError("expat failed");
        }
        XML_ParserFree(parser);
    }
}
BENCHMARK(BM_expat_bare_parse)->Unit(benchmark::kMillisecond);

void BM_libxml2_reader_bare_parse(benchmark::State& state) {
    std::string xml;
    detail::readCurrentFile(&xml);
    for (auto _ : state) {
        xmlTextReaderPtr reader = xmlReaderForMemory(xml.data(), static_cast<int>(xml.size()),
                                                     nullptr, "UTF-8", XML_PARSE_NONET);
        int status = 0;
        while ((status = xmlTextReaderRead(reader)) == 1) {
        }
        if (status != 0) {
            state.SkipWithError("libxml2 failed");
        }
        xmlFreeTextReader(reader);
    }
}
BENCHMARK(BM_libxml2_reader_bare_parse)->Unit(benchmark::kMillisecond);

void BM_plist_from_xml(benchmark::State& state) {
    std::string xml;
    detail::readCurrentFile(&xml);
    for (auto _ : state) {
        plist_t root = nullptr;
        plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
}
BENCHMARK(BM_plist_from_xml)->Unit(benchmark::kMillisecond);

void BM_plist_to_xml(benchmark::State& state) {
    std::string xml;
    detail::readCurrentFile(&xml);
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    for (auto _ : state) {
        char* text = nullptr;
        uint32_t length = 0;
        plist_to_xml(root, &text, &length);
        benchmark::DoNotOptimize(text);
        plist_to_xml_free(text);
    }
    plist_free(root);
}
BENCHMARK(BM_plist_to_xml)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("T48_ROOT") == nullptr || setServiceProfilePaths("bench", "T48") != kStoreOK) {
        std::fprintf(stderr, "profile-store-bench: set T48_ROOT to a scratch folder\n");
        return 1;
    }
    auto lists = fullLists();
    if (ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) != kStoreOK) {
        std::fprintf(stderr, "profile-store-bench: cannot write %s\n",
                     ZT_PLIST_PROFILE_PATH.c_str());
        return 1;
    }
    std::printf("file: %s\n", ZT_PLIST_PROFILE_PATH.c_str());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
