#include "audio/AudioErrors.h"

const char* audioErrorText(int32_t code) {
    switch (code) {
    case AudioError::None: return "no error";
    case AudioError::NotInitialised: return "the audio library is not initialised";
    case AudioError::AlreadyInitialised: return "the audio library is already initialised";
    case AudioError::NoDevice: return "no audio device can be opened";
    case AudioError::UnsupportedRate: return "unsupported output rate";
    case AudioError::FileOpen: return "the file cannot be opened";
    case AudioError::FileFormat: return "the file is in no format the library plays";
    case AudioError::BadHandle: return "no such channel";
    case AudioError::BadSyncType: return "unsupported sync type";
    default: return "unknown error";
    }
}
