/* A stand-in for the game ZELTA, for the demo installation and the end-to-end tests.
 *
 * It keeps the game's side of the utility's contract: with -settings it first shows a window
 * titled "Settings", with -selectlevel then one titled "Load Level", then its main window titled
 * "ZELTA"; -padrecord=bin\NAME writes that file, -padplayback=bin\NAME reads it.
 *
 * Environment:
 *   ZELTA_STANDIN_LOG          file to which the arguments, working folder and demo work are
 *                              appended (one "key=value" line each, then "end")
 *   ZELTA_STANDIN_SETTINGS_MS  how long "Settings" stays (default 1500)
 *   ZELTA_STANDIN_LOADLEVEL_MS how long "Load Level" stays (default 1500)
 *   ZELTA_STANDIN_MAIN_MS      how long "ZELTA" stays (default 3000)
 *   ZELTA_STANDIN_DELAY_MS     pause before the first window (default 0)
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static FILE* logFile;

static void Log(const char* key, const char* value) {
    if (logFile) {
        fprintf(logFile, "%s=%s\n", key, value);
        fflush(logFile);
    }
}

static long EnvMs(const char* name, long fallback) {
    const char* value = getenv(name);
    if (!value || !*value)
        return fallback;
    char* end = NULL;
    long ms = strtol(value, &end, 10);
    return (end && *end == '\0' && ms >= 0) ? ms : fallback;
}

static long NowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

static void SleepMs(long ms) {
    struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

/* "bin\NAME" relative to the working folder, with the game's separators turned into "/". */
static void NativeGamePath(const char* text, char* out, size_t size) {
    size_t i = 0;
    for (; text[i] && i + 1 < size; ++i)
        out[i] = text[i] == '\\' ? '/' : text[i];
    out[i] = '\0';
}

/* Writes the recording asked for with -padrecord (NULL: none). */
static void WriteRecording(const char* record, int argc, char** argv) {
    if (!record)
        return;
    char path[4096];
    NativeGamePath(record, path, sizeof path);
    FILE* demo = fopen(path, "wb");
    if (demo) {
        fprintf(demo, "ZELTA PAD DEMO\n");
        for (int i = 1; i < argc; ++i)
            fprintf(demo, "%s\n", argv[i]);
        fclose(demo);
        Log("recorded", path);
    } else {
        Log("record-failed", path);
    }
}

/* Shows a window for ms milliseconds; the recording named by record (may be NULL) is complete
 * before the window goes. */
static void ShowWindow(Display* display, const char* title, long ms, const char* record, int argc,
                       char** argv) {
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 40, 40, 480, 200, 1,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, title);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, netName, utf8, 8, PropModeReplace, (const unsigned char*)title,
                    (int)strlen(title));
    XSelectInput(display, window, ExposureMask);
    XMapWindow(display, window);
    XFlush(display);
    Log("window", title);

    GC gc = XCreateGC(display, window, 0, NULL);
    long end = NowMs() + ms;
    while (NowMs() < end) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == Expose && event.xexpose.count == 0) {
                static const char note[] = "stand-in for the game; arguments:";
                int y = 30;
                XDrawString(display, window, gc, 16, y, title, (int)strlen(title));
                y += 16;
                XDrawString(display, window, gc, 16, y, note, (int)strlen(note));
                for (int i = 1; i < argc && y < 180; ++i) {
                    y += 16;
                    XDrawString(display, window, gc, 32, y, argv[i], (int)strlen(argv[i]));
                }
            }
        }
        SleepMs(20);
    }
    XFreeGC(display, gc);
    WriteRecording(record, argc, argv);
    XDestroyWindow(display, window);
    XFlush(display);
    Log("closed", title);
}

int main(int argc, char** argv) {
    const char* logPath = getenv("ZELTA_STANDIN_LOG");
    if (logPath && *logPath)
        logFile = fopen(logPath, "a");

    char cwd[4096];
    Log("cwd", getcwd(cwd, sizeof cwd) ? cwd : "?");
    char joined[8192] = "";
    for (int i = 1; i < argc; ++i) {
        Log("arg", argv[i]);
        if (i > 1)
            strncat(joined, " ", sizeof joined - strlen(joined) - 1);
        strncat(joined, argv[i], sizeof joined - strlen(joined) - 1);
    }
    Log("arguments", joined);

    int settings = 0, selectLevel = 0;
    const char* record = NULL;
    const char* playback = NULL;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "-settings") == 0)
            settings = 1;
        else if (strcmp(argv[i], "-selectlevel") == 0)
            selectLevel = 1;
        else if (strncmp(argv[i], "-padrecord=", 11) == 0)
            record = argv[i] + 11;
        else if (strncmp(argv[i], "-padplayback=", 13) == 0)
            playback = argv[i] + 13;
    }

    if (playback) {
        char path[4096];
        NativeGamePath(playback, path, sizeof path);
        FILE* demo = fopen(path, "rb");
        if (demo) {
            char buffer[4096];
            size_t total = 0, got;
            while ((got = fread(buffer, 1, sizeof buffer, demo)) > 0)
                total += got;
            fclose(demo);
            char text[64];
            snprintf(text, sizeof text, "%zu", total);
            Log("playback", path);
            Log("playback-bytes", text);
        } else {
            Log("playback-missing", path);
        }
    }

    Display* display = XOpenDisplay(NULL);
    if (!display) {
        Log("error", "no X display");
        Log("end", "1");
        fprintf(stderr, "standin-game: cannot open the X display\n");
        return 1;
    }
    SleepMs(EnvMs("ZELTA_STANDIN_DELAY_MS", 0));
    if (settings)
        ShowWindow(display, "Settings", EnvMs("ZELTA_STANDIN_SETTINGS_MS", 1500), NULL, argc, argv);
    if (selectLevel)
        ShowWindow(display, "Load Level", EnvMs("ZELTA_STANDIN_LOADLEVEL_MS", 1500), NULL, argc,
                   argv);

    /* The recording is complete by the time the main window has gone. */
    ShowWindow(display, "ZELTA", EnvMs("ZELTA_STANDIN_MAIN_MS", 3000), record, argc, argv);
    XCloseDisplay(display);
    Log("end", "0");
    if (logFile)
        fclose(logFile);
    return 0;
}
