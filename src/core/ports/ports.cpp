// Compiles every port header on its own, so that each stays self-contained.
#include "core/ports/clock.h"
#include "core/ports/event_loop.h"
#include "core/ports/file_system.h"
#include "core/ports/profile.h"
#include "core/ports/random.h"
#include "core/ports/registry.h"
#include "core/ports/tcp_socket.h"
#include "core/ports/text_codec.h"
