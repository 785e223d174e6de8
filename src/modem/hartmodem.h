/* The C ABI of the HART modem driver library (libhartmodem.so.1). The program loads the
 * library at run time and calls these exports; the test fake implements the same ABI. */
#ifndef TARVEL4410_HARTMODEM_H
#define TARVEL4410_HARTMODEM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define HART_FRAME_CAPACITY 284

/* One frame. On write: the whole request, preambles included. On read: the answer from
 * its delimiter to its checksum, without preambles; length counts exactly those bytes. */
typedef struct HartMessage {
    uint8_t frame[HART_FRAME_CAPACITY];
    uint16_t length; /* native byte order */
    uint8_t reserved[6];
} HartMessage;

/* Passed to hart_configure; the program always sends 0, 96, 4, 6. */
typedef struct HartPortConfig {
    uint16_t value[4];
} HartPortConfig;

/* Results: 0 is success. hart_read returns HART_NO_FRAME when no complete frame waits, or
 * HART_RECEIVING when none is complete yet but one has begun to arrive (a caller that knows
 * only HART_NO_FRAME may take both alike). */
#define HART_OK 0
#define HART_NO_FRAME 1
#define HART_RECEIVING 2
#define HART_ERR_BAD_NAME (-10)
#define HART_ERR_NO_PORT (-11)
#define HART_ERR_BUSY (-12)
#define HART_ERR_IO (-13)
#define HART_ERR_BAD_HANDLE (-14)
#define HART_ERR_BAD_ARGUMENT (-15)

/* Handles travel as 32-bit arguments holding a 16-bit value. */
int32_t hart_open(const char* channelName, uint16_t* handle);
int32_t hart_configure(uint32_t handle, const HartPortConfig* config);
int32_t hart_subscribe(uint32_t handle, uint32_t events);
int32_t hart_register(uint32_t handle, void* callback);
int32_t hart_write(uint32_t handle, const HartMessage* message);
int32_t hart_read(uint32_t handle, HartMessage* message);
int32_t hart_close(uint32_t handle);

typedef int32_t (*hart_open_fn)(const char*, uint16_t*);
typedef int32_t (*hart_configure_fn)(uint32_t, const HartPortConfig*);
typedef int32_t (*hart_subscribe_fn)(uint32_t, uint32_t);
typedef int32_t (*hart_register_fn)(uint32_t, void*);
typedef int32_t (*hart_write_fn)(uint32_t, const HartMessage*);
typedef int32_t (*hart_read_fn)(uint32_t, HartMessage*);
typedef int32_t (*hart_close_fn)(uint32_t);

#ifdef __cplusplus
}
#endif

#endif
