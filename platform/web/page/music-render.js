// The page's software synthesizer as it renders: the MIDI messages come in
// batches, each message with the frame of the audio clock at which it is to
// sound; a render plays up to a message's frame, applies it, and goes on, so
// that every message sounds at its own place whatever the batch's delay,
// and one whose frame has passed sounds at once. On the audio thread it is
// the processor "dovezi-synthesizer", loaded after the synthesizer's
// library and its worklet script (which give AudioWorkletGlobalScope.JSSynth),
// and it sends nothing back while it plays; on the page's thread, where
// AudioWorklet is missing, music.js renders through it directly.
"use strict";

var DoveziRender = (function () {
    // `synth` is the library's Synthesizer, with its soundfont loaded.
    function Schedule(synth) {
        // Messages to play, as { frame, bytes }, earliest first.
        var queue = [];

        function play(bytes) {
            var status = bytes[0], channel = status & 0x0F;
            if (status === 0xF0) {
                synth.midiSysEx(bytes.subarray(1, bytes.length - 1));
                return;
            }
            switch (status >> 4) {
            case 0x8: synth.midiNoteOff(channel, bytes[1]); break;
            case 0x9: synth.midiNoteOn(channel, bytes[1], bytes[2]); break;
            case 0xA: synth.midiKeyPressure(channel, bytes[1], bytes[2]); break;
            case 0xB: synth.midiControl(channel, bytes[1], bytes[2]); break;
            case 0xC: synth.midiProgramChange(channel, bytes[1]); break;
            case 0xD: synth.midiChannelPressure(channel, bytes[1]); break;
            case 0xE: synth.midiPitchBend(channel, bytes[1] | (bytes[2] << 7)); break;
            }
        }

        return {
            add: function (messages) {
                messages.forEach(function (message) {
                    var at = queue.length;
                    while (at > 0 && queue[at - 1].frame > message.frame)
                        at--;
                    queue.splice(at, 0, message);
                });
            },
            // Fills `left` and `right`, which begin at frame `first`.
            render: function (left, right, first) {
                for (var done = 0; done < left.length;) {
                    while (queue.length > 0 && queue[0].frame <= first + done)
                        play(queue.shift().bytes);
                    var until = queue.length > 0 ? Math.min(left.length, queue[0].frame - first) : left.length;
                    synth.render([left.subarray(done, until), right.subarray(done, until)]);
                    done = until;
                }
            },
        };
    }

    if (typeof registerProcessor === "function") {
        registerProcessor("dovezi-synthesizer", class extends AudioWorkletProcessor {
            constructor() {
                super();
                var Synthesizer = AudioWorkletGlobalScope.JSSynth.Synthesizer;
                var made = Synthesizer.waitForWasmInitialized().then(function () {
                    var synth = new Synthesizer();
                    synth.init(sampleRate);
                    return synth;
                });
                this.schedule = null;
                this.port.onmessage = async (event) => {
                    if (!event.data.soundfont) {
                        this.schedule.add(event.data.messages);
                        return;
                    }
                    var synth = await made;
                    try {
                        await synth.loadSFont(event.data.soundfont);
                        this.schedule = Schedule(synth);
                        this.port.postMessage({ loaded: true });
                    } catch (error) {
                        this.port.postMessage({ loaded: false, error: String(error) });
                    }
                };
            }

            process(inputs, outputs) {
                if (this.schedule)
                    this.schedule.render(outputs[0][0], outputs[0][1], currentFrame);
                return true;
            }
        });
    }
    return { Schedule: Schedule };
}());
