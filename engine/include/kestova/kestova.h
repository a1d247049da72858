/*
 * Kestova: rail corrugation analysis of one raw data file per call.
 *
 * The library reads a raw data file (one rail), reconstructs the longitudinal
 * rail profile, splits it into four wavelength bands, judges each band against
 * a peak-to-peak limit and hands every result to a host window as a panel
 * message, synchronously, on the calling thread, inside Analyse().
 *
 * Units: lengths along the track in metres, displacements and limits in
 * millimetres, ratios in percent. Texts are GBK bytes, NUL-terminated.
 *
 * Threads: the library keeps one global state and takes no lock; calls must
 * not overlap. Every message is handled before Analyse() goes on.
 *
 * The profile (code 12) is built from one chord sample per frame, 20 mm
 * apart, in two steps:
 *  1. Spike removal. A sample is replaced by the median of the 81 samples
 *     centred on it (the input samples, never corrected ones) when all three
 *     hold:
 *       - it lies more than 0.1 mm from that median;
 *       - it lies below Q1 - 2.5 (Q3 - Q1) or above Q3 + 2.5 (Q3 - Q1), where
 *         Q1 and Q3 are the 21st and 61st of the 81 samples in ascending
 *         order (the window's quartiles);
 *       - it lies more than 0.1 mm from the mean of its two neighbours.
 *     The first and last 40 samples are never changed, nor records of 80
 *     samples or fewer. A record whose samples all stay within 0.1 mm of
 *     their medians passes unchanged. Single-sample spikes of 0.3 mm and more
 *     on a rail with mild corrugation (chord within 0.1 mm of its median) are
 *     removed, and so are adjacent pairs of 0.5 mm and more; corrugation of
 *     any amplitude is not: the quartile test lets through what the window's
 *     own spread explains, the neighbour test smooth long waves.
 *  2. Inversion of the chord's response. The mean is removed and every
 *     spectral line of the whole record (its exact length, no padding) below
 *     the Nyquist line is divided by the chord's response where that
 *     response is at least 0.2; elsewhere (wavelengths above about 2.28 m and
 *     three narrow gaps near 47, 80 and 115 mm) the line keeps the chord's
 *     response. Records of fewer than 10 samples are not inverted.
 */
#ifndef KESTOVA_KESTOVA_H
#define KESTOVA_KESTOVA_H

#include <stddef.h>
#include <stdint.h>

#if defined(KESTOVA_BUILDING_LIBRARY)
#define KESTOVA_API __attribute__((visibility("default")))
#else
#define KESTOVA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Host window ------------------------------------------------------ */

/* The window message that carries a panel message: WPARAM is a pointer to a
 * PanelMessage, LPARAM as listed with the codes below. */
#define KESTOVA_WM_PANEL_MESSAGE 1025u

typedef struct KestovaHostWindow KestovaHostWindow;

/* Delivers one window message to the host and returns when the host has
 * handled it. The engine ignores the result. */
typedef intptr_t (*KestovaSendMessageFn)(KestovaHostWindow* window, uint32_t message,
                                         uintptr_t wparam, intptr_t lparam);

/* The host's window handle as the engine sees it. The host keeps the object
 * alive for as long as it is set; `context` is the host's own. */
struct KestovaHostWindow {
    KestovaSendMessageFn sendMessage; /* required */
    void* context;
};

/* Four pointer-sized words. The record and all it points at belong to the
 * engine and are valid only while the message is being handled: copy what
 * you keep. */
typedef struct PanelMessage {
    uintptr_t code;  /* message code, below */
    uintptr_t data;  /* pointer to the payload */
    uintptr_t axis;  /* pointer to a second array, or 0 */
    uintptr_t count; /* elements in data (and axis) */
} PanelMessage;

/* Message codes, in the order one successful call sends them.
 *   code  data                            axis                    count  LPARAM
 *   13    AnalysisInfoBlock        0                       0      0
 *   12    profile, n doubles, mm          distances, n doubles, m n      side
 *   14    band 30-100 mm, n doubles, mm   distances               n      side
 *   15    band 100-300 mm                 distances               n      side
 *   16    band 300-1000 mm                distances               n      side
 *   17    band 1000-3000 mm               distances               n      side
 *   18    4 exceed ratios, percent        doubles 1.0 2.0 3.0 4.0  4      side
 *   19    SectionRecord array      0 (no value)            records 0
 * side: 1 left rail, 2 right rail. n may be 0 when the file holds no complete
 * frame of its side; code 19 then carries no record. */
enum {
    KESTOVA_CODE_PROFILE = 12,
    KESTOVA_CODE_FILE_INFO = 13,
    KESTOVA_CODE_BAND_30_100 = 14,
    KESTOVA_CODE_BAND_100_300 = 15,
    KESTOVA_CODE_BAND_300_1000 = 16,
    KESTOVA_CODE_BAND_1000_3000 = 17,
    KESTOVA_CODE_EXCEED_RATIOS = 18,
    KESTOVA_CODE_SECTIONS = 19
};

/* ---- Payloads (packed, little-endian) --------------------------------- */

#define KESTOVA_TEXT_SIZE 255 /* 254 GBK bytes and a NUL */

#pragma pack(push, 1)

/* Code 13: what the file's header says about the run. Zero-filled. */
typedef struct AnalysisInfoBlock {
    char lineName[KESTOVA_TEXT_SIZE];
    char department[KESTOVA_TEXT_SIZE];
    char staffName[KESTOVA_TEXT_SIZE];
    char startTime[KESTOVA_TEXT_SIZE]; /* "YYYYMMDDhhmmss" */
    uint8_t forward;                   /* nonzero: km-post values grow along the file */
    double startPosition;              /* metres */
    double endPosition;                /* metres: the trailer's, or estimated at 0.02 m/frame */
} AnalysisInfoBlock;

/* One band of one section. */
typedef struct BandResult {
    float ratio;                      /* exceeding samples, percent of the section */
    float peakToPeak;                 /* mm, of the longest exceeding run; 0 if none */
    char position[KESTOVA_TEXT_SIZE]; /* "%d+%d-->%d+%d", "%d+%d" or "-" */
} BandResult;

/* Code 19: one 100 m section (the last one holds the remainder). */
typedef struct SectionRecord {
    char range[KESTOVA_TEXT_SIZE]; /* "%d+%d-->%d+%d": start km+m --> end km+m */
    int32_t side;                  /* 1 left, 2 right */
    BandResult bands[4];           /* 30-100, 100-300, 300-1000, 1000-3000 mm */
} SectionRecord;

#pragma pack(pop)

/* ---- Return codes of Analyse ------------------------------------------ */
enum {
    KESTOVA_OK = 0,
    KESTOVA_CANNOT_OPEN = 9,   /* the file cannot be opened */
    KESTOVA_BAD_MAGIC = 12,    /* the header does not begin with 0xABCD */
    KESTOVA_TOO_SHORT = 13,    /* the file is shorter than 17100 bytes */
    KESTOVA_BAD_LIMIT = 14,    /* a limit is not a number in [0, 1] */
    KESTOVA_OUT_OF_MEMORY = 15 /* the record does not fit in memory; may follow code 13 */
};

/* ---- Functions -------------------------------------------------------- */

/* Sets the window that receives every message (null: messages go nowhere).
 * Always returns 0. */
KESTOVA_API int SetWnd(KestovaHostWindow* window);

/* Stores a notification callback, which the engine never calls. Returns 0,
 * or 1 (keeping the first) when one is stored already. */
KESTOVA_API int RegisterMessgaeFun(void (*callback)(void));

/* Analyses the raw data file at `path` (NUL-terminated). The limits are the
 * peak-to-peak limits of bands 1 to 4 in mm, each in [0, 1] (NaN is not).
 * Returns one of the codes above; a call that fails its checks (9, 12, 13,
 * 14) sends no message. */
KESTOVA_API int Analyse(const char* path, double dTh30_100, double dTh100_300, double dTh300_1000,
                        double dTh1000_3000);

#ifdef __cplusplus
}

static_assert(sizeof(PanelMessage) == 4 * sizeof(void*));
static_assert(sizeof(AnalysisInfoBlock) == 1037);
static_assert(offsetof(AnalysisInfoBlock, department) == 255);
static_assert(offsetof(AnalysisInfoBlock, staffName) == 510);
static_assert(offsetof(AnalysisInfoBlock, startTime) == 765);
static_assert(offsetof(AnalysisInfoBlock, forward) == 1020);
static_assert(offsetof(AnalysisInfoBlock, startPosition) == 1021);
static_assert(offsetof(AnalysisInfoBlock, endPosition) == 1029);
static_assert(sizeof(BandResult) == 263);
static_assert(offsetof(BandResult, peakToPeak) == 4);
static_assert(offsetof(BandResult, position) == 8);
static_assert(sizeof(SectionRecord) == 1311);
static_assert(offsetof(SectionRecord, side) == 255);
static_assert(offsetof(SectionRecord, bands) == 259);
static_assert(offsetof(SectionRecord, bands) + 3 * sizeof(BandResult) == 1048);
#else
_Static_assert(sizeof(PanelMessage) == 4 * sizeof(void*), "four pointer-sized words");
_Static_assert(sizeof(AnalysisInfoBlock) == 1037, "info block layout");
_Static_assert(offsetof(AnalysisInfoBlock, endPosition) == 1029, "info block layout");
_Static_assert(sizeof(BandResult) == 263, "band result layout");
_Static_assert(sizeof(SectionRecord) == 1311, "section record layout");
_Static_assert(offsetof(SectionRecord, bands) == 259, "section record layout");
#endif

#endif /* KESTOVA_KESTOVA_H */
