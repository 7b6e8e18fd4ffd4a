// The server settings file: the address and login of the server that holds
// online games, kept apart from the options because it holds the password.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "online/onlinegame.h"
#include "screen/fields.h"

namespace {

constexpr const char* settingsTag = "colonies server 1";

// The rest of a line that starts with `name` and a blank.
bool lineValue(const std::string& line, const std::string& name, std::string& value) {
    if (line.compare(0, name.size() + 1, name + " ") != 0) return false;
    value = line.substr(name.size() + 1);
    return true;
}

bool writeAllBytes(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ServerSettings readServerSettings(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string lines[4];
    for (std::string& line : lines) {
        if (!std::getline(in, line)) return ServerSettings();
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    ServerSettings s;
    if (lines[0] != settingsTag || !lineValue(lines[1], "address", s.address) || !lineValue(lines[2], "user", s.user) ||
        !lineValue(lines[3], "password", s.password))
        return ServerSettings();
    return s;
}

bool writeServerSettings(const ServerSettings& settings, const std::string& path) {
    // A line end in a value would break the file's lines; none can be typed.
    for (const std::string* v : {&settings.address, &settings.user, &settings.password})
        if (v->find_first_of("\r\n") != std::string::npos) return false;
    const std::string bytes = std::string(settingsTag) + "\naddress " + settings.address + "\nuser " + settings.user +
                              "\npassword " + settings.password + "\n";
    // Readable by its owner alone from the moment it exists, whatever the umask.
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool good = ::fchmod(fd, 0600) == 0 && writeAllBytes(fd, bytes) && ::fsync(fd) == 0;
    good = ::close(fd) == 0 && good;
    good = good && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!good) {
        ::unlink(temporary.c_str());
        return false;
    }
    filesWritten();
    return true;
}
