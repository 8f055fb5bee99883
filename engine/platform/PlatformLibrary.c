#define _GNU_SOURCE
#include "engine/platform/PlatformLibrary.h"

#include "engine/platform/ReplacingFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

enum
{
    DefaultWidth = 320,
    DefaultHeight = 480,
    DefaultDpi = 160,
    IdDigits = 64
};

static const char* const DeviceIdFileName = "device.id";

static PDL_bool screenTimeoutEnabled = 1;
static PDL_bool musicPlaying = 0;
static char cachedId[IdDigits + 1];
static Platform_ReportFunction reportFunction = NULL;

/* ---- file-local helpers ---- */

static void Report(const char* format, ...) __attribute__((format(printf, 1, 2)));

static void Report(const char* format, ...)
{
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(message, sizeof(message), format, arguments);
    va_end(arguments);
    if (reportFunction != NULL)
        reportFunction(message);
    else
        fprintf(stderr, "platform: %s\n", message);
}

static int CopyPath(char* buffer, int bufferLength, const char* path)
{
    size_t length = strlen(path);
    while (length > 1 && path[length - 1] == '/')
        length--;
    if (buffer == NULL || bufferLength <= 0 || length + 1 > (size_t)bufferLength)
        return -1;
    memcpy(buffer, path, length);
    buffer[length] = '\0';
    return (int)length;
}

static int JoinPath(char* out, size_t outLength, const char* a, const char* b)
{
    int written = snprintf(out, outLength, "%s/%s", a, b);
    return written >= 0 && (size_t)written < outLength ? 0 : -1;
}

static int ParseScreenSize(const char* text, int* width, int* height)
{
    char* end = NULL;
    long w = strtol(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X'))
        return -1;
    const char* second = end + 1;
    long h = strtol(second, &end, 10);
    if (end == second || *end != '\0')
        return -1;
    if (w < 1 || h < 1 || w > 16384 || h > 16384)
        return -1;
    *width = (int)w;
    *height = (int)h;
    return 0;
}

static int FindInPath(const char* program)
{
    const char* path = getenv("PATH");
    if (path == NULL)
        return 0;
    char candidate[PATH_MAX];
    const char* start = path;
    while (*start)
    {
        const char* end = strchr(start, ':');
        size_t length = end ? (size_t)(end - start) : strlen(start);
        if (length > 0 && length + strlen(program) + 2 < sizeof(candidate))
        {
            memcpy(candidate, start, length);
            candidate[length] = '/';
            strcpy(candidate + length + 1, program);
            if (access(candidate, X_OK) == 0)
                return 1;
        }
        if (!end)
            break;
        start = end + 1;
    }
    return 0;
}

static int MakeDirectories(const char* path)
{
    char partial[PATH_MAX];
    size_t length = strlen(path);
    if (length == 0 || length >= sizeof(partial))
    {
        errno = length == 0 ? ENOENT : ENAMETOOLONG;
        return -1;
    }
    memcpy(partial, path, length + 1);
    for (size_t i = 1; i <= length; i++)
    {
        if (partial[i] == '/' || partial[i] == '\0')
        {
            char saved = partial[i];
            partial[i] = '\0';
            if (mkdir(partial, 0755) != 0 && errno != EEXIST)
                return -1;
            partial[i] = saved;
        }
    }
    struct stat info;
    if (stat(path, &info) != 0)
        return -1;
    if (!S_ISDIR(info.st_mode))
    {
        errno = ENOTDIR;
        return -1;
    }
    return 0;
}

typedef enum
{
    StoredIdGood,
    StoredIdMissing,
    StoredIdDamaged
} StoredId;

static int IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

static int IsSpace(char c) { return c == '\n' || c == '\r' || c == ' ' || c == '\t'; }

/* The identity kept in the file, in lower case; for a damaged file, what is
 * wrong with it in a few words. Text after the 64 digits is not looked at. */
static StoredId ReadStoredId(const char* path, char* out, char* problem, size_t problemLength)
{
    /* Non-blocking: a pipe put there must not hang the start. */
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
    {
        if (errno == ENOENT)
            return StoredIdMissing;
        snprintf(problem, problemLength, "cannot be read (%s)", strerror(errno));
        return StoredIdDamaged;
    }
    char text[IdDigits + 1];
    size_t got = 0;
    int error = 0;
    while (got < sizeof(text))
    {
        ssize_t count = read(descriptor, text + got, sizeof(text) - got);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            error = errno;
        if (count <= 0)
            break;
        got += (size_t)count;
    }
    close(descriptor);
    if (error != 0)
    {
        snprintf(problem, problemLength, "cannot be read (%s)", strerror(error));
        return StoredIdDamaged;
    }
    size_t digits = 0;
    while (digits < got && digits < IdDigits && IsHexDigit(text[digits]))
        digits++;
    if (digits == IdDigits)
    {
        for (int i = 0; i < IdDigits; i++)
            out[i] = (char)(text[i] >= 'A' && text[i] <= 'F' ? text[i] - 'A' + 'a' : text[i]);
        out[IdDigits] = '\0';
        return StoredIdGood;
    }
    size_t rest = digits;
    while (rest < got && IsSpace(text[rest]))
        rest++;
    if (got == 0)
        snprintf(problem, problemLength, "is empty");
    else if (rest == got)
        snprintf(problem, problemLength, "is cut short (%d of %d hexadecimal digits)", (int)digits, IdDigits);
    else
        snprintf(problem, problemLength, "is not an identity (byte %d is 0x%02x, not a hexadecimal digit)",
                 (int)digits, (unsigned)(unsigned char)text[digits]);
    return StoredIdDamaged;
}

/* Renames a damaged file to "<path>.damaged" or, when that is taken,
 * "<path>.damaged.1", ".2" ...: nothing already kept aside is replaced.
 * Writes the new name; -1 with errno when the file stays where it is. */
static int KeepAside(const char* path, char* aside, size_t asideLength)
{
    for (int i = 0; i < 1000; i++)
    {
        int length = i == 0 ? snprintf(aside, asideLength, "%s.damaged", path)
                            : snprintf(aside, asideLength, "%s.damaged.%d", path, i);
        if (length < 0 || (size_t)length >= asideLength)
        {
            errno = ENAMETOOLONG;
            return -1;
        }
        if (renameat2(AT_FDCWD, path, AT_FDCWD, aside, RENAME_NOREPLACE) == 0)
            return 0;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return -1;
        /* No RENAME_NOREPLACE on this file system: a new link never
         * replaces a name either. */
        if (link(path, aside) == 0)
            return unlink(path);
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

static int MakeRandomId(char* out)
{
    unsigned char bytes[IdDigits / 2];
    size_t filled = 0;
    while (filled < sizeof(bytes))
    {
        ssize_t got = getrandom(bytes + filled, sizeof(bytes) - filled, 0);
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            return -1;
        }
        filled += (size_t)got;
    }
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < sizeof(bytes); i++)
    {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 15];
    }
    out[IdDigits] = '\0';
    return 0;
}

/* A synced temporary renamed over the file (ReplacingFile.h): neither a
 * crash nor two processes storing at once leave a half-written identity.
 * Returns 0 or an errno value. */
static int StoreId(const char* path, const char* id)
{
    char text[IdDigits + 1];
    memcpy(text, id, IdDigits);
    text[IdDigits] = '\n';
    return Platform_ReplaceFile(path, text, sizeof(text));
}

/* ---- the platform library ---- */

PDL_Err PDL_Init(unsigned int flags)
{
    (void)flags;
    return PDL_NOERROR;
}

void PDL_Quit(void) {}

PDL_Err PDL_GetScreenMetrics(PDL_ScreenMetrics* metrics)
{
    if (metrics == NULL)
        return PDL_EINVALIDINPUT;
    int width = DefaultWidth;
    int height = DefaultHeight;
    const char* requested = getenv("COBALT_KEEP_SCREEN");
    if (requested != NULL && *requested != '\0' && ParseScreenSize(requested, &width, &height) != 0)
        Report("ignoring COBALT_KEEP_SCREEN=\"%s\" (expected WIDTHxHEIGHT)", requested);
    metrics->horizontalPixels = width;
    metrics->verticalPixels = height;
    metrics->horizontalDPI = DefaultDpi;
    metrics->verticalDPI = DefaultDpi;
    metrics->aspectRatio = (double)width / (double)height;
    return PDL_NOERROR;
}

PDL_Err PDL_ScreenTimeoutEnable(PDL_bool enable)
{
    screenTimeoutEnabled = enable ? 1 : 0;
    return PDL_NOERROR;
}

PDL_Err PDL_NotifyMusicPlaying(PDL_bool playing)
{
    musicPlaying = playing ? 1 : 0;
    return PDL_NOERROR;
}

PDL_Err PDL_LaunchBrowser(const char* url)
{
    if (url == NULL || *url == '\0')
        return PDL_EINVALIDINPUT;
    if (!FindInPath("xdg-open"))
    {
        printf("Open in a browser: %s\n", url);
        fflush(stdout);
        return PDL_NOERROR;
    }
    /* Double fork: the browser outlives us without leaving a zombie, and the
     * address goes to xdg-open as one argument, never through a shell. */
    pid_t child = fork();
    if (child < 0)
        return PDL_EOTHER;
    if (child == 0)
    {
        pid_t grandchild = fork();
        if (grandchild == 0)
        {
            int devnull = open("/dev/null", O_RDWR);
            if (devnull >= 0)
            {
                dup2(devnull, 1);
                dup2(devnull, 2);
            }
            char* const arguments[] = {(char*)"xdg-open", (char*)url, NULL};
            execvp("xdg-open", arguments);
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? PDL_NOERROR : PDL_EOTHER;
}

PDL_Err PDL_GetUniqueID(char* buffer, int bufferLength)
{
    if (buffer == NULL || bufferLength < IdDigits + 1)
        return PDL_EINVALIDINPUT;
    if (cachedId[0] == '\0')
    {
        char directory[PATH_MAX];
        char path[PATH_MAX];
        int havePath = Platform_GetSaveDirectory(directory, sizeof(directory)) >= 0 &&
                       JoinPath(path, sizeof(path), directory, DeviceIdFileName) == 0;
        char id[IdDigits + 1];
        char problem[160];
        StoredId stored = StoredIdMissing;
        if (havePath)
        {
            Platform_RemoveLeftoverTemporaries(path);
            stored = ReadStoredId(path, id, problem, sizeof(problem));
        }
        if (stored == StoredIdGood)
        {
            memcpy(cachedId, id, sizeof(id));
        }
        else
        {
            if (MakeRandomId(id) != 0)
                return PDL_EOTHER;
            int store = havePath;
            if (stored == StoredIdDamaged)
            {
                /* The old identity may still be worth something to its
                 * owner (their scores on the server): it is never destroyed. */
                char aside[PATH_MAX + 32];
                if (KeepAside(path, aside, sizeof(aside)) == 0)
                {
                    Report("the device identity \"%s\" %s; it is kept as \"%s\" and a new identity is made", path,
                           problem, aside);
                }
                else
                {
                    Report("the device identity \"%s\" %s and cannot be kept aside (%s); a new identity is used "
                           "for this run only",
                           path, problem, strerror(errno));
                    store = 0;
                }
            }
            if (!havePath)
                Report("no save directory: the device identity is kept for this run only");
            else if (store)
            {
                int error = Platform_EnsureSaveDirectory() == 0 ? StoreId(path, id) : (errno != 0 ? errno : EIO);
                if (error != 0)
                    Report("could not keep the device identity in \"%s\" (%s); it holds for this run only", path,
                           strerror(error));
            }
            /* Even unsaved, the identity stays the same for the rest of this run. */
            memcpy(cachedId, id, sizeof(id));
        }
    }
    memcpy(buffer, cachedId, IdDigits + 1);
    return PDL_NOERROR;
}

void Platform_ForgetDeviceId(void) { cachedId[0] = '\0'; }

void Platform_SetReportFunction(Platform_ReportFunction report) { reportFunction = report; }

PDL_bool Platform_IsScreenTimeoutEnabled(void) { return screenTimeoutEnabled; }
PDL_bool Platform_IsMusicPlayingNotified(void) { return musicPlaying; }

int Platform_GetDataDirectory(char* buffer, int bufferLength)
{
    const char* fromEnvironment = getenv("COBALT_KEEP_DATA");
    if (fromEnvironment != NULL && *fromEnvironment != '\0')
        return CopyPath(buffer, bufferLength, fromEnvironment);

    char executable[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", executable, sizeof(executable) - 1);
    if (length <= 0)
        return CopyPath(buffer, bufferLength, "data");
    executable[length] = '\0';
    char* slash = strrchr(executable, '/');
    if (slash != NULL)
        *slash = '\0';
    char path[PATH_MAX];
    if (JoinPath(path, sizeof(path), executable, "data") != 0)
        return -1;
    return CopyPath(buffer, bufferLength, path);
}

int Platform_GetSaveDirectory(char* buffer, int bufferLength)
{
    char path[PATH_MAX];
    const char* dataHome = getenv("XDG_DATA_HOME");
    if (dataHome != NULL && dataHome[0] == '/')
    {
        if (JoinPath(path, sizeof(path), dataHome, "cobalt-keep") != 0)
            return -1;
        return CopyPath(buffer, bufferLength, path);
    }
    const char* home = getenv("HOME");
    if (home == NULL || *home == '\0')
    {
        struct passwd* entry = getpwuid(getuid());
        home = entry != NULL ? entry->pw_dir : NULL;
    }
    if (home == NULL || *home == '\0')
        return -1;
    if (snprintf(path, sizeof(path), "%s/.local/share/cobalt-keep", home) >= (int)sizeof(path))
        return -1;
    return CopyPath(buffer, bufferLength, path);
}

int Platform_EnsureSaveDirectory(void)
{
    char directory[PATH_MAX];
    if (Platform_GetSaveDirectory(directory, sizeof(directory)) < 0)
        return -1;
    return MakeDirectories(directory);
}
