// A fresh directory under /tmp for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <string>

#include <ftw.h>
#include <unistd.h>

class TempDirectory
{
public:
    TempDirectory()
    {
        char pattern[] = "/tmp/cobalt-keep-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made ? made : "";
    }
    ~TempDirectory()
    {
        if (!path.empty())
            nftw(path.c_str(), &RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string const& Path() const { return path; }
    std::string File(std::string const& name) const { return path + "/" + name; }

private:
    static int RemoveEntry(const char* entry, const struct stat*, int, struct FTW*) { return remove(entry); }
    std::string path;
};

// Sets an environment variable for one scope and restores the old value.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const std::string& value) : name(name)
    {
        const char* old = getenv(name);
        hadOld = old != nullptr;
        if (hadOld)
            oldValue = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (hadOld)
            setenv(name, oldValue.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    bool hadOld = false;
    std::string oldValue;
};
