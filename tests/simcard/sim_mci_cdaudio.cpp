// The simulated "cdaudio" device and the drive behind it: a disc with a
// track table, the tray, a drive held by another program, MSF, TMSF and
// millisecond time formats. Positions are absolute disc frames; track 1
// starts two seconds into the disc, as on a real disc.
#include "tests/simcard/sim_mci_device.h"

namespace {

const DWORD FramesPerSecond = 75;
const DWORD LeadIn = 2 * FramesPerSecond;

struct CdDrive {
    bool present = true;
    bool discLoaded = false;
    SimDisc disc;
    bool doorOpen = false;
    bool held = false;
    Transport run;
};

CdDrive Drive;

bool MediaPresent() {
    return Drive.discLoaded && !Drive.doorOpen && !Drive.disc.tracks.empty();
}

DWORD TrackCount() {
    return MediaPresent() ? static_cast<DWORD>(Drive.disc.tracks.size()) : 0;
}

// Start of a track, 1-based; track count + 1 is the lead-out.
DWORD TrackStart(DWORD track) {
    DWORD start = LeadIn;
    for (DWORD t = 1; t < track && t <= Drive.disc.tracks.size(); ++t)
        start += Drive.disc.tracks[t - 1].frames;
    return start;
}

DWORD LeadOut() {
    return TrackStart(static_cast<DWORD>(Drive.disc.tracks.size()) + 1);
}

// The track that holds a position; the last track for the lead-out.
DWORD TrackAt(DWORD frame) {
    DWORD count = static_cast<DWORD>(Drive.disc.tracks.size());
    for (DWORD t = 1; t < count; ++t)
        if (frame < TrackStart(t + 1))
            return t;
    return count;
}

DWORD Msf(DWORD frames) {
    return MCI_MAKE_MSF(frames / (60 * FramesPerSecond), frames / FramesPerSecond % 60,
                        frames % FramesPerSecond);
}

DWORD FramesToMs(DWORD frames) {
    return static_cast<DWORD>(uint64_t(frames) * 1000 / FramesPerSecond);
}

// Stops the drive because of something outside any command.
void StopDrive(WPARAM flag) {
    Transport &run = Drive.run;
    if (run.notifyPending) {
        run.notifyPending = false;
        PostMciNotify(run.notifyWindow, flag, run.notifyDevice);
    }
    run.mode = MCI_MODE_STOP;
}

class CdAudio : public SimDevice {
  public:
    CdAudio() : SimDevice("cdaudio") { timeFormat = MCI_FORMAT_MSF; }

    MCIERROR Load(DWORD, DWORD_PTR) override { return 0; }

    void Advance(DWORD) override {} // the drive runs on its own

    void Closing() override {
        // The disc plays on after the device is closed; only this device's
        // notification is given up.
        if (Drive.run.notifyPending && Drive.run.notifyDevice == id)
            EndNotify(MCI_NOTIFY_ABORTED);
    }

  protected:
    Transport &Run() override { return Drive.run; }
    DWORD Length() override { return MediaPresent() ? LeadOut() - LeadIn : 0; }
    DWORD StartUnits() override { return LeadIn; }
    DWORD UnitsIn(DWORD milliseconds) override {
        return static_cast<DWORD>(uint64_t(milliseconds) * FramesPerSecond / 1000);
    }
    DWORD MillisecondsFor(DWORD frames) override {
        return static_cast<DWORD>((uint64_t(frames) * 1000 + FramesPerSecond - 1) /
                                  FramesPerSecond);
    }
    bool AcceptsTimeFormat(DWORD format) override {
        return format == MCI_FORMAT_MSF || format == MCI_FORMAT_TMSF ||
               format == MCI_FORMAT_MILLISECONDS;
    }
    MCIERROR Ready() override { return MediaPresent() ? 0 : MCIERR_DEVICE_NOT_READY; }

    MCIERROR PlayableFrom(DWORD frame) override {
        return Drive.disc.tracks[TrackAt(frame) - 1].data ? MCIERR_HARDWARE : 0;
    }

    MCIERROR ToUnits(DWORD value, DWORD &frame) override {
        switch (timeFormat) {
        case MCI_FORMAT_TMSF: {
            DWORD track = MCI_TMSF_TRACK(value);
            if (track < 1 || track > TrackCount() || MCI_TMSF_SECOND(value) >= 60 ||
                MCI_TMSF_FRAME(value) >= FramesPerSecond)
                return MCIERR_OUTOFRANGE;
            frame = TrackStart(track) +
                    (MCI_TMSF_MINUTE(value) * 60 + MCI_TMSF_SECOND(value)) * FramesPerSecond +
                    MCI_TMSF_FRAME(value);
            break;
        }
        case MCI_FORMAT_MSF:
            if (MCI_MSF_SECOND(value) >= 60 || MCI_MSF_FRAME(value) >= FramesPerSecond)
                return MCIERR_OUTOFRANGE;
            frame = (MCI_MSF_MINUTE(value) * 60 + MCI_MSF_SECOND(value)) * FramesPerSecond +
                    MCI_MSF_FRAME(value);
            break;
        default: frame = LeadIn + UnitsIn(value); break;
        }
        return frame < LeadIn || frame > LeadOut() ? MCIERR_OUTOFRANGE : 0;
    }

    DWORD FromUnits(DWORD frame) override {
        switch (timeFormat) {
        case MCI_FORMAT_TMSF: {
            DWORD track = TrackAt(frame);
            DWORD into = frame - TrackStart(track);
            return MCI_MAKE_TMSF(track, into / (60 * FramesPerSecond), into / FramesPerSecond % 60,
                                 into % FramesPerSecond);
        }
        case MCI_FORMAT_MSF: return Msf(frame);
        default: return FramesToMs(frame - LeadIn);
        }
    }

    // A length: MSF in both MSF and TMSF formats.
    DWORD Duration(DWORD frames) {
        return timeFormat == MCI_FORMAT_MILLISECONDS ? FramesToMs(frames) : Msf(frames);
    }

    MCIERROR TrackOf(DWORD flags, const MCI_STATUS_PARMS &status, DWORD &track) {
        if ((flags & MCI_TRACK) == 0)
            return MCIERR_MISSING_PARAMETER;
        if (status.dwTrack < 1 || status.dwTrack > TrackCount())
            return MCIERR_OUTOFRANGE;
        track = status.dwTrack;
        return 0;
    }

    MCIERROR StatusItem(DWORD flags, MCI_STATUS_PARMS &status) override {
        DWORD track = 0;
        switch (status.dwItem) {
        case MCI_STATUS_MEDIA_PRESENT:
        case MCI_STATUS_READY: status.dwReturn = MediaPresent(); return 0;
        case MCI_STATUS_MODE:
            status.dwReturn = Drive.doorOpen      ? MCI_MODE_OPEN
                              : !Drive.discLoaded ? MCI_MODE_NOT_READY
                                                  : Drive.run.mode;
            return 0;
        case MCI_STATUS_TIME_FORMAT: return MCIERR_BAD_CONSTANT; // the shared answer
        default: break;
        }
        if (MCIERROR error = Ready())
            return error;
        switch (status.dwItem) {
        case MCI_STATUS_NUMBER_OF_TRACKS: status.dwReturn = TrackCount(); return 0;
        case MCI_STATUS_LENGTH:
            if (flags & MCI_TRACK) {
                if (MCIERROR error = TrackOf(flags, status, track))
                    return error;
                status.dwReturn = Duration(Drive.disc.tracks[track - 1].frames);
            } else {
                status.dwReturn = Duration(Length());
            }
            return 0;
        case MCI_STATUS_POSITION:
            if (flags & MCI_TRACK) {
                if (MCIERROR error = TrackOf(flags, status, track))
                    return error;
                status.dwReturn = FromUnits(TrackStart(track));
            } else {
                status.dwReturn =
                    FromUnits((flags & MCI_STATUS_START) ? LeadIn : Drive.run.position);
            }
            return 0;
        case MCI_STATUS_CURRENT_TRACK: status.dwReturn = TrackAt(Drive.run.position); return 0;
        case MCI_CDA_STATUS_TYPE_TRACK:
            if (MCIERROR error = TrackOf(flags, status, track))
                return error;
            status.dwReturn =
                Drive.disc.tracks[track - 1].data ? MCI_CDA_TRACK_OTHER : MCI_CDA_TRACK_AUDIO;
            return 0;
        default: return MCIERR_BAD_CONSTANT;
        }
    }

    MCIERROR SetItems(DWORD flags, DWORD_PTR) override {
        const DWORD known = MCI_NOTIFY | MCI_WAIT | MCI_SET_TIME_FORMAT | MCI_SET_DOOR_OPEN |
                            MCI_SET_DOOR_CLOSED | MCI_SET_AUDIO | MCI_SET_ON | MCI_SET_OFF;
        if (flags & ~known)
            return MCIERR_UNSUPPORTED_FUNCTION;
        if ((flags & MCI_SET_DOOR_OPEN) && (flags & MCI_SET_DOOR_CLOSED))
            return MCIERR_FLAGS_NOT_COMPATIBLE;
        if (flags & MCI_SET_DOOR_OPEN) {
            StopDrive(MCI_NOTIFY_ABORTED);
            Drive.doorOpen = true;
        }
        if ((flags & MCI_SET_DOOR_CLOSED) && Drive.doorOpen) {
            Drive.doorOpen = false;
            Drive.run.position = LeadIn;
        }
        return 0;
    }

    MCIERROR Capability(DWORD item, DWORD &answer) override {
        switch (item) {
        case MCI_GETDEVCAPS_DEVICE_TYPE: answer = MCI_DEVTYPE_CD_AUDIO; return 0;
        case MCI_GETDEVCAPS_CAN_EJECT:
        case MCI_GETDEVCAPS_CAN_PLAY:
        case MCI_GETDEVCAPS_HAS_AUDIO: answer = TRUE; return 0;
        case MCI_GETDEVCAPS_USES_FILES:
        case MCI_GETDEVCAPS_COMPOUND_DEVICE:
        case MCI_GETDEVCAPS_CAN_RECORD:
        case MCI_GETDEVCAPS_CAN_SAVE:
        case MCI_GETDEVCAPS_HAS_VIDEO: answer = FALSE; return 0;
        default: return MCIERR_BAD_CONSTANT;
        }
    }
};

} // namespace

std::unique_ptr<SimDevice> MakeCdAudio() {
    return std::make_unique<CdAudio>();
}

void ResetCdDrive(const SimCdConfig &config) {
    Drive = CdDrive();
    Drive.present = config.drive;
    Drive.discLoaded = config.discLoaded;
    Drive.disc = config.disc;
    Drive.doorOpen = config.doorOpen;
    Drive.held = config.heldByOtherProgram;
    Drive.run.position = LeadIn;
    if (config.playingTrack > 0 && MediaPresent() &&
        static_cast<DWORD>(config.playingTrack) <= TrackCount()) {
        // Another program started the disc and went away.
        Transport &run = Drive.run;
        run.mode = MCI_MODE_PLAY;
        run.position = run.startPosition = TrackStart(config.playingTrack);
        run.startClock = 0;
        run.target = LeadOut();
        run.bounded = true;
    }
}

void AdvanceCdDrive(DWORD now) {
    Transport &run = Drive.run;
    if (run.mode == MCI_MODE_PLAY)
        AdvanceTransport(
            run, static_cast<DWORD>(uint64_t(now - run.startClock) * FramesPerSecond / 1000));
}

MCIERROR CdOpenError(bool shareable) {
    if (!Drive.present)
        return MCIERR_CANNOT_LOAD_DRIVER;
    if (Drive.held && !shareable)
        return MCIERR_MUST_USE_SHAREABLE;
    return 0;
}

void SimCdInsertDisc(const SimDisc &disc) {
    StopDrive(MCI_NOTIFY_FAILURE);
    Drive.disc = disc;
    Drive.discLoaded = true;
    Drive.doorOpen = false;
    Drive.run.position = LeadIn;
}

void SimCdRemoveDisc() {
    StopDrive(MCI_NOTIFY_FAILURE);
    Drive.doorOpen = true;
    Drive.discLoaded = false;
    Drive.disc = SimDisc();
    Drive.run.position = LeadIn;
}

void SimCdSetDoor(bool open) {
    if (open && !Drive.doorOpen)
        StopDrive(MCI_NOTIFY_FAILURE);
    Drive.doorOpen = open;
    Drive.run.position = LeadIn;
}

void SimCdSetHeldByOtherProgram(bool held) {
    Drive.held = held;
}
