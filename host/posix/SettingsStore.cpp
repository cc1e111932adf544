// The settings store on Linux and other POSIX systems: one file per profile,
// $XDG_CONFIG_HOME/lumora/<profile>.conf (default ~/.config/lumora), mode 0600.
//
// A key reads the file when it is opened; every write rewrites the file
// whole through a temporary file and a rename, so that a crash leaves either
// the old file or the new one, never half of one. A file that cannot be read
// as settings is moved aside to <profile>.conf.bad, never overwritten.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../Host.h"
#include "../Settings.h"
#include "../SettingsFile.h"
#include "lumora/DisplayDevice.h"

// An open profile: its file, read once when the key is opened. A write reads
// the file afresh, so that what another key stored meanwhile is kept.
struct HKEY__ {
    std::string path;
    lumora::detail::SettingsFile values;
};

using namespace lumora::detail;

namespace {

std::string ConfigDirectory()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/lumora";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && home[0] == '/' ? home : ".") + "/.config/lumora";
}

std::string ProfilePath() { return ConfigDirectory() + "/" + CurrentProfile() + ".conf"; }

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Creates the directory and its missing parents, for the owner only.
bool MakeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

// Reads the profile into values. An absent file is an empty profile; a file
// that is not a settings file is moved aside and reported.
void ReadProfile(const std::string& path, SettingsFile& values)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (values.Parse(text.str(), error)) return;
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) == 0)
        RecordSettingsProblem("the settings file " + path + " is damaged (" + error + "); it was moved to " + aside +
                              " and the defaults are used");
    else
        RecordSettingsProblem("the settings file " + path + " is damaged (" + error + ") and the defaults are used");
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteProfile(const std::string& path, const SettingsFile& values)
{
    const std::string directory = path.substr(0, path.rfind('/'));
    if (!MakeDirectories(directory)) {
        RecordSettingsProblem(SystemError("cannot create " + directory));
        return false;
    }
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        RecordSettingsProblem(SystemError("cannot write the settings file " + path));
        return false;
    }
    bool ok = WriteAll(fd, values.Format()) && fsync(fd) == 0;
    std::string failure = ok ? "" : SystemError("cannot write the settings file " + path);
    close(fd);
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = SystemError("cannot replace the settings file " + path);
    }
    if (!ok) {
        RecordSettingsProblem(failure);
        unlink(temporary.c_str());
        return false;
    }
    const int dir = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);  // the rename itself reaches the disk
        close(dir);
    }
    return true;
}

bool Usable(HKEY key, const char* name) { return key != nullptr && name != nullptr; }

int Store(HKEY key, const char* name, SettingValue value)
{
    if (!Usable(key, name)) return 0;
    if (!SettingsFile::IsValidName(name)) {
        RecordSettingsProblem(std::string("\"") + name + "\" cannot be a setting's name");
        return 0;
    }
    SettingsFile values;
    ReadProfile(key->path, values);
    values.Set(name, std::move(value));
    if (!WriteProfile(key->path, values)) return 0;
    key->values = values;
    return 1;
}

}  // namespace

HKEY DisplayDevice::GetSettingsKey()
{
    HKEY key = new HKEY__{ProfilePath(), {}};
    ReadProfile(key->path, key->values);
    return key;
}

void DisplayDevice::CloseSettingsKey(HKEY key) { delete key; }

int DisplayDevice::GetSettingInt(HKEY key, const char* name, int& value)
{
    if (!Usable(key, name)) return 0;
    const auto stored = key->values.GetInt(name);
    if (!stored) return 0;
    value = *stored;
    return 1;
}

int DisplayDevice::GetSettingString(HKEY key, const char* name, char* buffer, int size)
{
    if (!Usable(key, name) || buffer == nullptr || size <= 0) return 0;
    const auto stored = key->values.GetString(name);
    if (!stored) return 0;
    CopyTerminated(*stored, buffer, size);
    return 1;
}

int DisplayDevice::SetSettingInt(HKEY key, const char* name, int value) { return Store(key, name, value); }

int DisplayDevice::SetSettingString(HKEY key, const char* name, const char* text)
{
    return text == nullptr ? 0 : Store(key, name, std::string(text));
}

namespace lumora {

int DescribeSettingsLocation(char* buffer, int size)
{
    CopyTerminated(ProfilePath(), buffer, size);
    return 1;
}

}  // namespace lumora
