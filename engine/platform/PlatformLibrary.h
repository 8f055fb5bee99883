/* Our stand-in for the phone's platform library: screen metrics, screen
 * timeout, music notification, browser launch and the device identity, plus
 * where the game's data and saved files live on this machine. Plain C so that
 * it can sit under any part of the program. */
#ifndef COBALT_KEEP_PLATFORM_LIBRARY_H
#define COBALT_KEEP_PLATFORM_LIBRARY_H

#ifdef __cplusplus
extern "C" {
#endif

typedef int PDL_bool;

typedef enum
{
    PDL_NOERROR = 0,
    PDL_EMEMORY = 1,
    PDL_EINVALIDINPUT = 2,
    PDL_ECONNECTION = 3,
    PDL_EOTHER = 4
} PDL_Err;

typedef struct
{
    int horizontalPixels;
    int verticalPixels;
    int horizontalDPI;
    int verticalDPI;
    double aspectRatio;
} PDL_ScreenMetrics;

PDL_Err PDL_Init(unsigned int flags);
void PDL_Quit(void);

/* 320 x 480 portrait at 160 x 160 DPI, unless COBALT_KEEP_SCREEN=WxH says
 * otherwise. */
PDL_Err PDL_GetScreenMetrics(PDL_ScreenMetrics* metrics);

/* Recorded only: a desktop screen has no timeout of ours to switch. */
PDL_Err PDL_ScreenTimeoutEnable(PDL_bool enable);
PDL_Err PDL_NotifyMusicPlaying(PDL_bool playing);

/* Opens the address with xdg-open when present, otherwise prints it. */
PDL_Err PDL_LaunchBrowser(const char* url);

/* A stable identity of 64 lower-case hexadecimal digits, made once at random
 * and kept in the save directory ("device.id"). Writes a terminated text into
 * the buffer; needs room for 65 bytes. A damaged file (empty, cut short, not
 * hexadecimal, unreadable) is reported, renamed to "device.id.damaged" (or
 * ".damaged.1", ".2" ... when that is taken) and replaced by a new identity. */
PDL_Err PDL_GetUniqueID(char* buffer, int bufferLength);

/* Forgets the identity read in this run: the next query reads the file
 * again. */
void Platform_ForgetDeviceId(void);

/* Where the library's reports go: one message a call, without a trailing
 * newline. Null (the default) writes "platform: <message>" lines to stderr. */
typedef void (*Platform_ReportFunction)(const char* message);
void Platform_SetReportFunction(Platform_ReportFunction report);

/* What the recording calls last received (for tests and diagnostics). */
PDL_bool Platform_IsScreenTimeoutEnabled(void);
PDL_bool Platform_IsMusicPlayingNotified(void);

/* The directory game data is read from: $COBALT_KEEP_DATA when set, else the
 * "data" folder beside the executable. Writes a terminated path without a
 * trailing slash; returns its length, or -1 when it does not fit. */
int Platform_GetDataDirectory(char* buffer, int bufferLength);

/* The directory saved files live in: $XDG_DATA_HOME/cobalt-keep, by default
 * ~/.local/share/cobalt-keep. Same conventions as above. */
int Platform_GetSaveDirectory(char* buffer, int bufferLength);

/* Creates the save directory and its parents; returns 0 on success, else -1
 * with errno set. */
int Platform_EnsureSaveDirectory(void);

#ifdef __cplusplus
}
#endif

#endif
