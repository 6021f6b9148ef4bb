// The simulated "sequencer" device: reads standard MIDI and RMID files and
// plays them along their tempo map. Positions are milliseconds; the song
// pointer format counts sixteenth notes.
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

namespace {

class Sequencer : public SimDevice {
  public:
    Sequencer() : SimDevice("sequencer") {}

    MCIERROR Load(DWORD flags, DWORD_PTR) override {
        if ((flags & MCI_OPEN_ELEMENT) == 0)
            return 0; // the device alone, without a song
        Bytes file;
        if (MCIERROR error = LoadFile(element, file))
            return error;
        if (!ReadMidi(file, midi))
            return MCIERR_INVALID_FILE;
        hasSong = true;
        return 0;
    }

  protected:
    Transport &Run() override { return run; }
    DWORD Length() override { return hasSong ? MidiTicksToMs(midi, midi.lengthTicks) : 0; }
    MCIERROR Ready() override { return hasSong ? 0 : MCIERR_NONAPPLICABLE_FUNCTION; }

    bool AcceptsTimeFormat(DWORD format) override {
        return format == MCI_FORMAT_MILLISECONDS || format == MCI_SEQ_FORMAT_SONGPTR;
    }

    MCIERROR ToUnits(DWORD value, DWORD &units) override {
        if (timeFormat == MCI_SEQ_FORMAT_SONGPTR)
            units = MidiTicksToMs(midi, static_cast<DWORD>(uint64_t(value) * midi.division / 4));
        else
            units = value;
        return units > Length() ? MCIERR_OUTOFRANGE : 0;
    }

    DWORD FromUnits(DWORD ms) override {
        if (timeFormat == MCI_SEQ_FORMAT_SONGPTR)
            return static_cast<DWORD>(uint64_t(MidiMsToTicks(midi, ms)) * 4 / midi.division);
        return ms;
    }

    MCIERROR StatusItem(DWORD, MCI_STATUS_PARMS &status) override {
        switch (status.dwItem) {
        case MCI_SEQ_STATUS_TEMPO: {
            if (!hasSong)
                return MCIERR_NONAPPLICABLE_FUNCTION;
            // Beats per minute for a file timed in ticks per quarter note.
            DWORD micros = MidiTempoAt(midi, MidiMsToTicks(midi, run.position));
            status.dwReturn = (60000000 + micros / 2) / micros;
            return 0;
        }
        case MCI_SEQ_STATUS_DIVTYPE: status.dwReturn = MCI_SEQ_DIV_PPQN; return 0;
        case MCI_SEQ_STATUS_PORT: status.dwReturn = MIDI_MAPPER & 0xFFFF; return 0;
        default: return MCIERR_BAD_CONSTANT;
        }
    }

    MCIERROR SetItems(DWORD flags, DWORD_PTR) override {
        const DWORD known =
            MCI_NOTIFY | MCI_WAIT | MCI_SET_TIME_FORMAT | MCI_SET_AUDIO | MCI_SET_ON | MCI_SET_OFF;
        return (flags & ~known) ? MCIERR_UNSUPPORTED_FUNCTION : 0;
    }

    MCIERROR Capability(DWORD item, DWORD &answer) override {
        if (item == MCI_GETDEVCAPS_DEVICE_TYPE) {
            answer = MCI_DEVTYPE_SEQUENCER;
            return 0;
        }
        return SimDevice::Capability(item, answer);
    }

  private:
    Transport run;
    MidiInfo midi;
    bool hasSong = false;
};

} // namespace

std::unique_ptr<SimDevice> MakeSequencer() {
    return std::make_unique<Sequencer>();
}
