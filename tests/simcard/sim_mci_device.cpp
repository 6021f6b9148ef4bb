// The commands every simulated MCI device answers alike, and the transport
// that plays and records on the virtual clock.
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

HWND CallbackOf(DWORD_PTR params) {
    if (params == 0)
        return nullptr;
    // The callback window is every parameter block's first member.
    return reinterpret_cast<HWND>(*reinterpret_cast<const DWORD_PTR *>(params));
}

bool AdvanceTransport(Transport &run, DWORD unitsElapsed) {
    if (run.mode != MCI_MODE_PLAY && run.mode != MCI_MODE_RECORD)
        return false;
    DWORD position = run.startPosition + unitsElapsed;
    if (run.bounded && position >= run.target) {
        run.position = run.target;
        run.mode = MCI_MODE_STOP;
        if (run.notifyPending && run.notifyEnd == run.target) {
            run.notifyPending = false;
            PostMciNotify(run.notifyWindow, MCI_NOTIFY_SUCCESSFUL, run.notifyDevice);
        }
        return true;
    }
    run.position = position;
    return false;
}

MCIERROR LoadFile(const std::string &path, std::vector<uint8_t> &bytes) {
    if (path.empty() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return MCIERR_FILE_NOT_FOUND;
    return ReadBytes(path, bytes) ? 0 : MCIERR_FILE_READ;
}

void SimDevice::Advance(DWORD now) {
    Transport &run = Run();
    if (run.mode != MCI_MODE_PLAY && run.mode != MCI_MODE_RECORD)
        return;
    DWORD before = run.position;
    DWORD mode = run.mode;
    AdvanceTransport(run, UnitsIn(now - run.startClock));
    if (run.position != before)
        Ran(mode, before, run.position);
}

void SimDevice::Closing() {
    StopHere();
}

void SimDevice::EndNotify(WPARAM flag) {
    Transport &run = Run();
    if (!run.notifyPending)
        return;
    run.notifyPending = false;
    PostMciNotify(run.notifyWindow, flag, run.notifyDevice);
}

void SimDevice::NotifyNow(DWORD flags, DWORD_PTR params) {
    if ((flags & MCI_NOTIFY) == 0)
        return;
    EndNotify(MCI_NOTIFY_SUPERSEDED);
    PostMciNotify(CallbackOf(params), MCI_NOTIFY_SUCCESSFUL, id);
}

void SimDevice::StopHere() {
    Transport &run = Run();
    EndNotify(MCI_NOTIFY_ABORTED);
    if (run.mode == MCI_MODE_PLAY || run.mode == MCI_MODE_RECORD || run.mode == MCI_MODE_PAUSE ||
        run.mode == MCI_MODE_SEEK)
        run.mode = MCI_MODE_STOP;
}

MCIERROR SimDevice::ToUnits(DWORD value, DWORD &units) {
    if (value > Length())
        return MCIERR_OUTOFRANGE;
    units = StartUnits() + value;
    return 0;
}

MCIERROR SimDevice::Start(DWORD mode, DWORD from, DWORD target, bool bounded, DWORD flags,
                          DWORD_PTR params) {
    Transport &run = Run();
    // A new play keeps the outstanding notification when it ends where the
    // old one would have; a request of its own then supersedes it. A play
    // that changes the end aborts it.
    if (run.notifyPending) {
        bool sameEnd = bounded && target == run.notifyEnd;
        if (!sameEnd)
            EndNotify(MCI_NOTIFY_ABORTED);
        else if (flags & MCI_NOTIFY)
            EndNotify(MCI_NOTIFY_SUPERSEDED);
    }
    run.mode = mode;
    run.position = from;
    run.startPosition = from;
    run.startClock = SimClock();
    run.target = target;
    run.bounded = bounded;
    if (flags & MCI_NOTIFY) {
        run.notifyPending = true;
        run.notifyWindow = CallbackOf(params);
        run.notifyDevice = id;
        run.notifyEnd = bounded ? target : 0xFFFFFFFF;
    }
    Playing();
    if (bounded && from >= target) {
        AdvanceTransport(run, 0); // nothing to play: ends at once
    } else if ((flags & MCI_WAIT) && bounded) {
        DWORD ms = MillisecondsFor(target - from);
        while (run.mode == mode && ms > 0) {
            AdvanceSimClock(ms);
            ms = 1; // rounding left the run a unit short
        }
    }
    return 0;
}

MCIERROR SimDevice::Command(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call) {
    switch (message) {
    case MCI_PLAY: return Play(flags, params, call);
    case MCI_STATUS: return Status(flags, params, call);
    case MCI_SET: return Set(flags, params, call);
    case MCI_SEEK: return Seek(flags, params, call);
    case MCI_PAUSE: {
        Transport &run = Run();
        if (MCIERROR error = Ready())
            return error;
        // Pausing keeps the notification: a resume can still meet it.
        if (run.mode == MCI_MODE_PLAY || run.mode == MCI_MODE_RECORD) {
            run.pausedMode = run.mode;
            run.mode = MCI_MODE_PAUSE;
        }
        NotifyNow(flags, params);
        return 0;
    }
    case MCI_RESUME: {
        Transport &run = Run();
        if (run.mode == MCI_MODE_PAUSE) {
            run.mode = run.pausedMode;
            run.startClock = SimClock();
            run.startPosition = run.position;
        }
        NotifyNow(flags, params);
        return 0;
    }
    case MCI_STOP:
        StopHere();
        NotifyNow(flags, params);
        return 0;
    case MCI_GETDEVCAPS: {
        if (params == 0)
            return MCIERR_NULL_PARAMETER_BLOCK;
        auto &caps = *reinterpret_cast<MCI_GETDEVCAPS_PARMS *>(params);
        if ((flags & MCI_GETDEVCAPS_ITEM) == 0)
            return MCIERR_MISSING_PARAMETER;
        call.item = caps.dwItem;
        DWORD answer = 0;
        if (MCIERROR error = Capability(caps.dwItem, answer))
            return error;
        caps.dwReturn = answer;
        call.returned = answer;
        NotifyNow(flags, params);
        return 0;
    }
    default: return Other(message, flags, params, call);
    }
}

MCIERROR SimDevice::Play(DWORD flags, DWORD_PTR params, SimMciCall &call) {
    if ((flags & (MCI_FROM | MCI_TO)) && params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (MCIERROR error = Ready())
        return error;
    Transport &run = Run();
    DWORD from = run.position;
    DWORD to = EndUnits();
    if (params != 0) {
        auto &play = *reinterpret_cast<MCI_PLAY_PARMS *>(params);
        call.from = play.dwFrom;
        call.to = play.dwTo;
        if (flags & MCI_FROM)
            if (MCIERROR error = ToUnits(play.dwFrom, from))
                return error;
        if (flags & MCI_TO)
            if (MCIERROR error = ToUnits(play.dwTo, to))
                return error;
    }
    if (from > to)
        return MCIERR_OUTOFRANGE;
    if (MCIERROR error = PlayableFrom(from))
        return error;
    return Start(MCI_MODE_PLAY, from, to, true, flags, params);
}

MCIERROR SimDevice::Seek(DWORD flags, DWORD_PTR params, SimMciCall &call) {
    DWORD choices = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (choices == 0)
        return MCIERR_MISSING_PARAMETER;
    if (choices != MCI_SEEK_TO_START && choices != MCI_SEEK_TO_END && choices != MCI_TO)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (MCIERROR error = Ready())
        return error;
    if (MCIERROR error = SeekableNow())
        return error;
    DWORD to = StartUnits();
    if (choices == MCI_SEEK_TO_END)
        to = EndUnits();
    if (choices == MCI_TO) {
        if (params == 0)
            return MCIERR_NULL_PARAMETER_BLOCK;
        auto &seek = *reinterpret_cast<MCI_SEEK_PARMS *>(params);
        call.to = seek.dwTo;
        if (MCIERROR error = ToUnits(seek.dwTo, to))
            return error;
    }
    StopHere();
    Run().position = to;
    NotifyNow(flags, params);
    return 0;
}

MCIERROR SimDevice::Status(DWORD flags, DWORD_PTR params, SimMciCall &call) {
    if (params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    auto &status = *reinterpret_cast<MCI_STATUS_PARMS *>(params);
    if ((flags & MCI_STATUS_ITEM) == 0)
        return MCIERR_MISSING_PARAMETER;
    call.item = status.dwItem;
    if (flags & MCI_TRACK)
        call.track = status.dwTrack;
    MCIERROR error = StatusItem(flags, status);
    if (error == MCIERR_BAD_CONSTANT) {
        error = 0;
        Transport &run = Run();
        switch (status.dwItem) {
        case MCI_STATUS_MODE: status.dwReturn = run.mode; break;
        case MCI_STATUS_POSITION:
            status.dwReturn = FromUnits((flags & MCI_STATUS_START) ? StartUnits() : run.position);
            break;
        case MCI_STATUS_LENGTH: status.dwReturn = FromUnits(Length()); break;
        case MCI_STATUS_TIME_FORMAT: status.dwReturn = timeFormat; break;
        case MCI_STATUS_READY: status.dwReturn = TRUE; break;
        case MCI_STATUS_MEDIA_PRESENT: status.dwReturn = TRUE; break;
        case MCI_STATUS_NUMBER_OF_TRACKS: status.dwReturn = 1; break;
        case MCI_STATUS_CURRENT_TRACK: status.dwReturn = 1; break;
        default: error = MCIERR_BAD_CONSTANT;
        }
    }
    if (error != 0)
        return error;
    call.returned = status.dwReturn;
    NotifyNow(flags, params);
    return 0;
}

MCIERROR SimDevice::Set(DWORD flags, DWORD_PTR params, SimMciCall &call) {
    if (params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    auto &set = *reinterpret_cast<MCI_SET_PARMS *>(params);
    if (flags & MCI_SET_TIME_FORMAT) {
        call.item = set.dwTimeFormat;
        if (!AcceptsTimeFormat(set.dwTimeFormat))
            return MCIERR_BAD_TIME_FORMAT;
    }
    if (MCIERROR error = SetItems(flags, params))
        return error;
    if (flags & MCI_SET_TIME_FORMAT)
        timeFormat = set.dwTimeFormat;
    NotifyNow(flags, params);
    return 0;
}

MCIERROR SimDevice::StatusItem(DWORD, MCI_STATUS_PARMS &) {
    return MCIERR_BAD_CONSTANT;
}

MCIERROR SimDevice::SetItems(DWORD flags, DWORD_PTR) {
    const DWORD known = MCI_NOTIFY | MCI_WAIT | MCI_SET_TIME_FORMAT;
    return (flags & ~known) ? MCIERR_UNSUPPORTED_FUNCTION : 0;
}

MCIERROR SimDevice::Capability(DWORD item, DWORD &answer) {
    switch (item) {
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE: answer = TRUE; return 0;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_CAN_SAVE:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_HAS_VIDEO: answer = FALSE; return 0;
    default: return MCIERR_BAD_CONSTANT;
    }
}

MCIERROR SimDevice::Other(UINT, DWORD, DWORD_PTR, SimMciCall &) {
    return MCIERR_UNSUPPORTED_FUNCTION;
}
