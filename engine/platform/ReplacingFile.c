#define _GNU_SOURCE
#include "engine/platform/ReplacingFile.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

enum
{
    RandomLength = 6,        /* the XXXXXX of mkstemp */
    LeftoverAgeSeconds = 60, /* where flock is unavailable */
    OpenAttempts = 8
};

static const char* const TemporarySuffix = ".tmp";

/* ---- file-local helpers ---- */

static int SameFile(struct stat const* a, struct stat const* b)
{
    return a->st_dev == b->st_dev && a->st_ino == b->st_ino;
}

/* Locks are advisory and a few file systems have none: there the age rule
 * of the cleaner stands in. */
static int LocksUnsupported(int error)
{
    return error == ENOLCK || error == EINVAL || error == EOPNOTSUPP;
}

/* Splits a path into its folder ("." when it has none) and its last name. */
static int SplitPath(const char* path, char* folder, size_t folderLength, const char** name)
{
    const char* slash = strrchr(path, '/');
    if (slash == NULL)
    {
        *name = path;
        return snprintf(folder, folderLength, ".") < (int)folderLength ? 0 : -1;
    }
    *name = slash + 1;
    size_t length = slash == path ? 1 : (size_t)(slash - path);
    if (length + 1 > folderLength)
        return -1;
    memcpy(folder, path, length);
    folder[length] = '\0';
    return 0;
}

static int IsMkstempCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

/* "<name>.XXXXXX.tmp" exactly. */
static int IsTemporaryOf(const char* entry, const char* name)
{
    size_t nameLength = strlen(name);
    size_t suffixLength = strlen(TemporarySuffix);
    if (strlen(entry) != nameLength + 1 + RandomLength + suffixLength)
        return 0;
    if (strncmp(entry, name, nameLength) != 0 || entry[nameLength] != '.')
        return 0;
    for (int i = 0; i < RandomLength; i++)
        if (!IsMkstempCharacter(entry[nameLength + 1 + i]))
            return 0;
    return strcmp(entry + nameLength + 1 + RandomLength, TemporarySuffix) == 0;
}

static int WriteAll(int descriptor, const char* bytes, size_t size)
{
    while (size > 0)
    {
        ssize_t written = write(descriptor, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        bytes += written;
        size -= (size_t)written;
    }
    return 0;
}

/* Makes the rename itself durable; a folder that cannot be synced still
 * holds the complete new file. */
static void SyncFolderOf(const char* path)
{
    char folder[4096];
    const char* name = NULL;
    if (SplitPath(path, folder, sizeof(folder), &name) != 0)
        return;
    int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor);
    close(descriptor);
}

/* ---- replacing ---- */

int Platform_OpenTemporary(const char* target, Platform_Temporary* temporary)
{
    temporary->descriptor = -1;
    temporary->path[0] = '\0';
    for (int attempt = 0; attempt < OpenAttempts; attempt++)
    {
        if (snprintf(temporary->path, sizeof(temporary->path), "%s.XXXXXX%s", target, TemporarySuffix) >=
            (int)sizeof(temporary->path))
            return ENAMETOOLONG;
        int descriptor = mkostemps(temporary->path, (int)strlen(TemporarySuffix), O_CLOEXEC);
        if (descriptor < 0)
            return errno;
        int locked = 1;
        while (flock(descriptor, LOCK_EX) != 0)
        {
            if (errno == EINTR)
                continue;
            int error = errno;
            if (LocksUnsupported(error))
            {
                locked = 0;
                break;
            }
            close(descriptor);
            unlink(temporary->path);
            return error;
        }
        /* A cleaner may have taken the new file for a leftover before the
         * lock was ours; then the name is gone, and a new one is made. */
        struct stat opened, named;
        if (!locked || (fstat(descriptor, &opened) == 0 && stat(temporary->path, &named) == 0 &&
                        SameFile(&opened, &named)))
        {
            temporary->descriptor = descriptor;
            return 0;
        }
        close(descriptor);
    }
    temporary->path[0] = '\0';
    return EAGAIN;
}

int Platform_CommitTemporary(Platform_Temporary* temporary, const char* target)
{
    if (temporary->descriptor < 0)
        return EBADF;
    int error = fsync(temporary->descriptor) == 0 ? 0 : errno;
    if (error == 0 && rename(temporary->path, target) != 0)
        error = errno;
    if (error != 0)
        unlink(temporary->path); /* still locked: no cleaner races this */
    else
        SyncFolderOf(target);
    close(temporary->descriptor);
    temporary->descriptor = -1;
    return error;
}

void Platform_DiscardTemporary(Platform_Temporary* temporary)
{
    if (temporary->descriptor < 0)
        return;
    unlink(temporary->path);
    close(temporary->descriptor);
    temporary->descriptor = -1;
}

int Platform_ReplaceFile(const char* target, const void* bytes, size_t size)
{
    Platform_Temporary temporary;
    int error = Platform_OpenTemporary(target, &temporary);
    if (error != 0)
        return error;
    error = WriteAll(temporary.descriptor, (const char*)bytes, size);
    if (error != 0)
    {
        Platform_DiscardTemporary(&temporary);
        return error;
    }
    return Platform_CommitTemporary(&temporary, target);
}

/* ---- leftovers ---- */

int Platform_RemoveLeftoverTemporaries(const char* target)
{
    char folder[4096];
    const char* name = NULL;
    if (target == NULL || SplitPath(target, folder, sizeof(folder), &name) != 0 || *name == '\0')
        return 0;
    DIR* listing = opendir(folder);
    if (listing == NULL)
        return 0;
    int removed = 0;
    struct dirent* entry;
    while ((entry = readdir(listing)) != NULL)
    {
        if (!IsTemporaryOf(entry->d_name, name))
            continue;
        char path[4096 + 256];
        if (snprintf(path, sizeof(path), "%s/%s", folder, entry->d_name) >= (int)sizeof(path))
            continue;
        struct stat named;
        if (lstat(path, &named) != 0 || !S_ISREG(named.st_mode))
            continue;
        int descriptor = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        int stale = 0;
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            stale = 1; /* its writer is gone */
        else if (LocksUnsupported(errno))
            stale = time(NULL) - named.st_mtime > LeftoverAgeSeconds;
        struct stat opened;
        /* Only the file looked at: a finished writer renamed its temporary
         * away, and the name now leads nowhere. */
        if (stale && fstat(descriptor, &opened) == 0 && lstat(path, &named) == 0 &&
            SameFile(&opened, &named) && unlink(path) == 0)
            removed++;
        close(descriptor);
    }
    closedir(listing);
    return removed;
}
