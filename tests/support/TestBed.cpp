#include "support/TestBed.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/Wiring.h"

namespace scorvane::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "scorvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Read-only entries left by a test must not keep the folder alive.
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (!it->is_symlink()) ::chmod(it->path().c_str(), it->is_directory() ? 0700 : 0600);
    }
    fs::remove_all(path_, ignored);
}

TestBed::TestBed(TestBedOptions options) {
    fs::create_directories(ProgramFolder() + "/Files/Lang");
    fs::create_directories(dir_.path() + "/work");
    ProcessFacts facts;
    facts.programFolder = ProgramFolder();
    facts.commandLine = options.commandLine;
    facts.major = 2;
    facts.minor = 5;
    facts.revision = 15;
    RandomStream::Seed seed{};
    for (std::size_t i = 0; i < seed.size(); ++i) seed[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::string locale = options.localeName;
    program_ = std::make_unique<Program>(Platform{files, desktop, desktop, drives, facts,
                                                  options.fixedRandom ? RandomStream::FromSeed(seed) : nullptr,
                                                  [locale] { return locale; }});
    WireHandlers(*program_);
    InstallMarkerLanguage("English.lng");
}

void TestBed::InstallMarkerLanguage(const std::string& fileName) {
    std::vector<std::string> markers;
    for (int n = 1; n < Program::kLangSize; ++n) markers.push_back("L" + std::to_string(n));
    InstallLanguage(fileName, markers);
}

void TestBed::InstallLanguage(const std::string& fileName, const std::vector<std::string>& texts) {
    std::string content;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%02zu=", (i + 1) % 100);
        content += prefix + texts[i] + "\r\n";
    }
    InstallRawLanguage(fileName, content);
}

void TestBed::InstallRawLanguage(const std::string& fileName, const std::string& content) {
    WriteBytes(ProgramFolder() + "/Files/Lang/" + fileName, content);
}

void TestBed::InstallShippedLanguage(const std::string& fileName) {
    fs::copy_file(fs::path(SCORVANE_SOURCE_DIR) / "resources/Files/Lang" / fileName,
                  fs::path(ProgramFolder()) / "Files/Lang" / fileName, fs::copy_options::overwrite_existing);
}

void TestBed::UseMarkerTexts() {
    for (int n = 0; n < Program::kLangSize; ++n) program_->Lang[static_cast<std::size_t>(n)] = "L" + std::to_string(n);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> FolderEntries(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(path, ignored)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void MakeTree(const std::string& root, const std::vector<std::string>& entries) {
    fs::create_directories(root);
    for (const auto& entry : entries) {
        if (entry.back() == '/') {
            fs::create_directories(root + "/" + entry);
        } else {
            WriteBytes(root + "/" + entry, entry);
        }
    }
}

bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace scorvane::testing
