/* What the application and its source manager share: movable memory blocks,
 * window handles, posting a message to the application's queue and telling
 * the user something. The
 * application exports these functions; the manager, a library loaded into
 * the application's process, calls them. */
#ifndef QUORVANE_DSM_HOST_H
#define QUORVANE_DSM_HOST_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A message of the application's queue; TW_EVENT's pEvent points to one. */
typedef struct {
    uintptr_t window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
} QuorvaneMessage;

/* Ends the wait of a message loop. */
#define QUORVANE_QUIT_MESSAGE 0x0012u
/* Messages a source manager posts for its sources; wParam carries the TWAIN
 * message (MSG_XFERREADY, MSG_CLOSEDSREQ). */
#define QUORVANE_SOURCE_MESSAGE 0x8217u

/* Movable memory: a handle is locked to reach its bytes. Allocation gives
 * zeroed bytes; a handle that is not a live block gives null and 0. */
void* QuorvaneAllocateBlock(size_t size);
void* QuorvaneLockBlock(void* block);
void QuorvaneUnlockBlock(void* block);
void QuorvaneFreeBlock(void* block);
size_t QuorvaneBlockSize(void* block);

/* Non-zero when the handle names a live window. */
int QuorvaneIsWindow(uintptr_t window);
/* Posts to the application's queue; may be called from any thread. */
void QuorvanePostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

/* Tells the user something through the application's information box; a
 * source whose window is hidden reports its failures this way. */
void QuorvaneShowMessage(const char* text);

#ifdef __cplusplus
}
#endif

#endif
