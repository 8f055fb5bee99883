/* Files replaced whole: the new bytes go to a temporary file beside the
 * target ("<target>.XXXXXX.tmp", unique per writer), are synced to disk and
 * renamed over the target, so a crash or a kill mid-write leaves either the
 * old file or the new one, and two writers of one file cannot tear it.
 *
 * A writer holds an exclusive flock on its temporary for as long as it
 * writes, so a temporary nobody holds is a leftover of a writer that died;
 * Platform_RemoveLeftoverTemporaries clears those. Plain C, beside the rest
 * of the platform layer: the device identity is stored this way too.
 *
 * Every function returns 0 or an errno value. */
#ifndef COBALT_KEEP_REPLACING_FILE_H
#define COBALT_KEEP_REPLACING_FILE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct
{
    int descriptor;  /* -1 when none is open */
    char path[4096]; /* the temporary's path */
} Platform_Temporary;

/* Makes and locks a new temporary beside the target. */
int Platform_OpenTemporary(const char* target, Platform_Temporary* temporary);

/* Syncs the temporary and renames it over the target; the temporary is
 * closed and, on failure, removed. */
int Platform_CommitTemporary(Platform_Temporary* temporary, const char* target);

/* Closes and removes the temporary. */
void Platform_DiscardTemporary(Platform_Temporary* temporary);

/* The whole replacement in one call. */
int Platform_ReplaceFile(const char* target, const void* bytes, size_t size);

/* Removes the temporaries of dead writers beside the target: regular files
 * named exactly "<target name>.XXXXXX.tmp" that no live writer holds (where
 * locks are not available: older than a minute). Returns how many went. */
int Platform_RemoveLeftoverTemporaries(const char* target);

#ifdef __cplusplus
}
#endif

#endif
