// The simulated "waveaudio" device: plays RIFF WAVE files, records into a
// new untitled element or into open data (overwrite or insert), takes the
// wave format settings and saves real RIFF WAVE files. Positions are
// milliseconds; the data is kept as sample bytes.
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

#include <algorithm>

namespace {

class WaveAudio : public SimDevice {
  public:
    WaveAudio() : SimDevice("waveaudio") {}

    MCIERROR Load(DWORD flags, DWORD_PTR params) override {
        (void)params; // the buffer length only tunes a real driver's latency
        if ((flags & MCI_OPEN_ELEMENT) == 0)
            return 0; // the device alone, without data
        hasData = true;
        if (element.empty()) {
            untitled = true; // a new recording, in the driver's default format
            wave.format = PcmFormat(1, 11025, 8);
            return 0;
        }
        Bytes file;
        if (MCIERROR error = LoadFile(element, file))
            return error;
        if (!ReadWave(file, wave))
            return MCIERR_INVALID_FILE;
        path = element;
        return 0;
    }

  protected:
    Transport &Run() override { return run; }
    DWORD Length() override { return BytesToMs(static_cast<DWORD>(wave.samples.size())); }

    MCIERROR Ready() override { return hasData ? 0 : MCIERR_NONAPPLICABLE_FUNCTION; }

    bool AcceptsTimeFormat(DWORD format) override {
        return format == MCI_FORMAT_MILLISECONDS || format == MCI_FORMAT_BYTES ||
               format == MCI_FORMAT_SAMPLES;
    }

    MCIERROR ToUnits(DWORD value, DWORD &units) override {
        switch (timeFormat) {
        case MCI_FORMAT_BYTES: units = BytesToMs(value); break;
        case MCI_FORMAT_SAMPLES:
            units = static_cast<DWORD>(uint64_t(value) * 1000 / wave.format.samplesPerSec);
            break;
        default: units = value; break;
        }
        return units > Length() ? MCIERR_OUTOFRANGE : 0;
    }

    DWORD FromUnits(DWORD ms) override {
        switch (timeFormat) {
        case MCI_FORMAT_BYTES: return MsToBytes(ms);
        case MCI_FORMAT_SAMPLES:
            return static_cast<DWORD>(uint64_t(ms) * wave.format.samplesPerSec / 1000);
        default: return ms;
        }
    }

    MCIERROR StatusItem(DWORD, MCI_STATUS_PARMS &status) override {
        const WaveFormat &format = wave.format;
        switch (status.dwItem) {
        case MCI_WAVE_STATUS_FORMATTAG: status.dwReturn = format.formatTag; break;
        case MCI_WAVE_STATUS_CHANNELS: status.dwReturn = format.channels; break;
        case MCI_WAVE_STATUS_SAMPLESPERSEC: status.dwReturn = format.samplesPerSec; break;
        case MCI_WAVE_STATUS_AVGBYTESPERSEC: status.dwReturn = format.avgBytesPerSec; break;
        case MCI_WAVE_STATUS_BLOCKALIGN: status.dwReturn = format.blockAlign; break;
        case MCI_WAVE_STATUS_BITSPERSAMPLE: status.dwReturn = format.bitsPerSample; break;
        case MCI_WAVE_STATUS_LEVEL: status.dwReturn = run.mode == MCI_MODE_RECORD ? 0x40 : 0; break;
        default: return MCIERR_BAD_CONSTANT;
        }
        return hasData ? 0 : MCIERR_NONAPPLICABLE_FUNCTION;
    }

    MCIERROR SetItems(DWORD flags, DWORD_PTR params) override {
        const DWORD formatFlags = MCI_WAVE_SET_FORMATTAG | MCI_WAVE_SET_CHANNELS |
                                  MCI_WAVE_SET_SAMPLESPERSEC | MCI_WAVE_SET_AVGBYTESPERSEC |
                                  MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE;
        const DWORD known = MCI_NOTIFY | MCI_WAIT | MCI_SET_TIME_FORMAT | formatFlags |
                            MCI_WAVE_INPUT | MCI_WAVE_OUTPUT | MCI_WAVE_SET_ANYINPUT |
                            MCI_WAVE_SET_ANYOUTPUT | MCI_SET_AUDIO | MCI_SET_ON | MCI_SET_OFF;
        if (flags & ~known)
            return MCIERR_UNSUPPORTED_FUNCTION;
        const auto &set = *reinterpret_cast<MCI_WAVE_SET_PARMS *>(params);
        if ((flags & MCI_WAVE_INPUT) && set.wInput > 1)
            return MCIERR_OUTOFRANGE;
        if ((flags & MCI_WAVE_OUTPUT) && set.wOutput > 1)
            return MCIERR_OUTOFRANGE;
        if ((flags & formatFlags) == 0)
            return 0;
        if (!hasData)
            return MCIERR_NONAPPLICABLE_FUNCTION;
        // The format belongs to the data: it changes only while there is none.
        if (!wave.samples.empty() || run.mode != MCI_MODE_STOP)
            return MCIERR_NONAPPLICABLE_FUNCTION;
        WaveFormat format = wave.format;
        if (flags & MCI_WAVE_SET_FORMATTAG)
            format.formatTag = set.wFormatTag;
        if (flags & MCI_WAVE_SET_CHANNELS)
            format.channels = set.nChannels;
        if (flags & MCI_WAVE_SET_SAMPLESPERSEC)
            format.samplesPerSec = set.nSamplesPerSec;
        if (flags & MCI_WAVE_SET_AVGBYTESPERSEC)
            format.avgBytesPerSec = set.nAvgBytesPerSec;
        if (flags & MCI_WAVE_SET_BLOCKALIGN)
            format.blockAlign = set.nBlockAlign;
        if (flags & MCI_WAVE_SET_BITSPERSAMPLE)
            format.bitsPerSample = set.wBitsPerSample;
        if (format.formatTag != WAVE_FORMAT_PCM || format.channels < 1 || format.channels > 2 ||
            (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
            format.samplesPerSec < 1000 || format.samplesPerSec > 100000 ||
            format.blockAlign == 0 || format.avgBytesPerSec == 0)
            return MCIERR_OUTOFRANGE;
        wave.format = format;
        return 0;
    }

    MCIERROR Capability(DWORD item, DWORD &answer) override {
        switch (item) {
        case MCI_GETDEVCAPS_DEVICE_TYPE: answer = MCI_DEVTYPE_WAVEFORM_AUDIO; return 0;
        case MCI_GETDEVCAPS_CAN_RECORD:
        case MCI_GETDEVCAPS_CAN_SAVE: answer = TRUE; return 0;
        default: return SimDevice::Capability(item, answer);
        }
    }

    MCIERROR Other(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call) override {
        switch (message) {
        case MCI_RECORD: return Record(flags, params, call);
        case MCI_SAVE: return Save(flags, params, call);
        case MCI_CUE: NotifyNow(flags, params); return 0;
        default: return MCIERR_UNSUPPORTED_FUNCTION;
        }
    }

    // Sound comes in while recording: quiet input written at the cursor.
    void Ran(DWORD mode, DWORD from, DWORD to) override {
        if (mode != MCI_MODE_RECORD)
            return;
        DWORD at = MsToBytes(from);
        DWORD count = MsToBytes(to) - at;
        uint8_t silence = wave.format.bitsPerSample == 8 ? 0x80 : 0x00;
        Bytes &data = wave.samples;
        if (at > data.size())
            at = static_cast<DWORD>(data.size());
        if (inserting) {
            data.insert(data.begin() + at, count, silence);
        } else {
            if (at + count > data.size())
                data.resize(at + count, silence);
            std::fill(data.begin() + at, data.begin() + at + count, silence);
        }
    }

  private:
    MCIERROR Record(DWORD flags, DWORD_PTR params, SimMciCall &call) {
        if (MCIERROR error = Ready())
            return error;
        if ((flags & MCI_RECORD_INSERT) && (flags & MCI_RECORD_OVERWRITE))
            return MCIERR_FLAGS_NOT_COMPATIBLE;
        if ((flags & (MCI_FROM | MCI_TO)) && params == 0)
            return MCIERR_NULL_PARAMETER_BLOCK;
        DWORD from = run.position;
        DWORD to = 0;
        if (params != 0) {
            const auto &record = *reinterpret_cast<MCI_RECORD_PARMS *>(params);
            call.from = record.dwFrom;
            call.to = record.dwTo;
            if (flags & MCI_FROM)
                if (MCIERROR error = ToUnits(record.dwFrom, from))
                    return error;
            if (flags & MCI_TO) {
                to = timeFormat == MCI_FORMAT_MILLISECONDS ? record.dwTo
                     : timeFormat == MCI_FORMAT_BYTES
                         ? BytesToMs(record.dwTo)
                         : static_cast<DWORD>(uint64_t(record.dwTo) * 1000 /
                                              wave.format.samplesPerSec);
                if (to < from)
                    return MCIERR_OUTOFRANGE;
            }
        }
        // Recording inserts unless told to overwrite.
        inserting = (flags & MCI_RECORD_OVERWRITE) == 0;
        return Start(MCI_MODE_RECORD, from, to, (flags & MCI_TO) != 0, flags, params);
    }

    MCIERROR Save(DWORD flags, DWORD_PTR params, SimMciCall &call) {
        if (MCIERROR error = Ready())
            return error;
        std::string file = path;
        if (flags & MCI_SAVE_FILE) {
            if (params == 0)
                return MCIERR_NULL_PARAMETER_BLOCK;
            const auto &save = *reinterpret_cast<MCI_SAVE_PARMSA *>(params);
            file = save.lpfilename != nullptr ? save.lpfilename : "";
        }
        call.text = file;
        if (file.empty())
            return MCIERR_UNNAMED_RESOURCE;
        if (run.mode == MCI_MODE_RECORD)
            return MCIERR_NONAPPLICABLE_FUNCTION;
        if (!WriteBytes(file, MakeWave(wave)))
            return MCIERR_FILE_NOT_SAVED;
        path = file;
        untitled = false;
        NotifyNow(flags, params);
        return 0;
    }

    // Rounded to the nearest millisecond, as the platform's driver answers.
    DWORD BytesToMs(DWORD bytes) {
        DWORD perSecond = wave.format.avgBytesPerSec;
        return static_cast<DWORD>((uint64_t(bytes) * 1000 + perSecond / 2) / perSecond);
    }
    DWORD MsToBytes(DWORD ms) {
        DWORD bytes = static_cast<DWORD>(uint64_t(ms) * wave.format.avgBytesPerSec / 1000);
        return bytes - bytes % wave.format.blockAlign;
    }

    Transport run;
    WaveData wave;
    bool hasData = false;
    bool untitled = false;
    std::string path;
    bool inserting = false;
};

} // namespace

std::unique_ptr<SimDevice> MakeWaveAudio() {
    return std::make_unique<WaveAudio>();
}
