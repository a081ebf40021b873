// The page's MIDI outputs. Device 0 is a software synthesizer playing the
// General MIDI soundfont that lies next to the page; the others are the
// browser's Web MIDI outputs, in the order the browser lists them.
"use strict";

var DoveziMusic = (function () {
    const LIBRARY = "libfluidsynth-2.4.6.js";
    const SYNTHESIZER = "js-synthesizer.min.js";
    const WORKLET = "js-synthesizer.worklet.min.js";
    const LIBRARY_LICENSE = "LICENSE.fluidsynth.txt";
    const SOUNDFONT = "TimGM6mb.sf2";
    // About 0.1 s of sound at the usual rates.
    const LEVEL_SAMPLES = 4096;

    let prepared = null;
    let soundfont = null;
    let midiAsked = null;
    // Told of the soundfont's arrival: (bytes received, bytes in all or 0).
    let onProgress = function () {};
    let synthesizer = null;
    // Set when the synthesizer cannot start: its messages are dropped then.
    let failed = false;
    let analyser = null;
    // The gain before the output, and the level it is to have.
    let gain = null;
    let volume = 1;
    let samples = null;
    let access = null;
    // Synthesizer messages not yet played, as { bytes, due }, earliest first.
    const pending = [];
    let timer = 0;

    function loadScript(url) {
        return new Promise(function (resolve, reject) {
            const script = document.createElement("script");
            script.src = url;
            script.onload = resolve;
            script.onerror = function () {
                reject(new Error("cannot load " + url));
            };
            document.head.appendChild(script);
        });
    }

    // The soundfont, with its progress told as it arrives.
    async function fetchSoundfont() {
        const response = await fetch(SOUNDFONT);
        if (!response.ok || !response.body) {
            throw new Error("cannot load " + SOUNDFONT + ": " + response.status);
        }
        const total = Number(response.headers.get("Content-Length")) || 0;
        const reader = response.body.getReader();
        const chunks = [];
        let received = 0;
        for (;;) {
            const { done, value } = await reader.read();
            if (done) {
                break;
            }
            chunks.push(value);
            received += value.length;
            onProgress(received, total);
        }
        const bytes = new Uint8Array(received);
        let at = 0;
        for (const chunk of chunks) {
            bytes.set(chunk, at);
            at += chunk.length;
        }
        return bytes.buffer;
    }

    function loadSoundfont() {
        if (!soundfont) {
            soundfont = fetchSoundfont();
            soundfont.catch(function () {
                soundfont = null;
            });
        }
        return soundfont;
    }

    // Renders on the audio thread, so a busy page never breaks up the sound.
    async function workletSynthesizer(context) {
        await context.audioWorklet.addModule(LIBRARY);
        await context.audioWorklet.addModule(WORKLET);
        const synth = new JSSynth.AudioWorkletNodeSynthesizer();
        synth.init(context.sampleRate);
        return { synth: synth, node: synth.createAudioNode(context) };
    }

    // Renders on the page's thread, where AudioWorklet is missing (a page
    // that is not served from a secure origin). The library declares a
    // global Module, as the page's own program may do too: it runs inside a
    // function here, so the two never meet. Its messages about the file
    // functions it lacks would land in the page's console as errors.
    async function mainThreadSynthesizer(context) {
        const source = await (await fetch(LIBRARY)).text();
        const library = new Function(source + "\nreturn Module;")();
        JSSynth.Synthesizer.initializeWithFluidSynthModule(library);
        await JSSynth.waitForReady();
        JSSynth.disableLogging(JSSynth.LogLevel.Error);
        const synth = new JSSynth.Synthesizer();
        synth.init(context.sampleRate);
        return { synth: synth, node: synth.createAudioNode(context, 8192) };
    }

    async function makeSynthesizer(context) {
        const font = loadSoundfont();
        await loadScript(SYNTHESIZER);
        const made = context.audioWorklet
            ? await workletSynthesizer(context)
            : await mainThreadSynthesizer(context);
        analyser = context.createAnalyser();
        analyser.fftSize = LEVEL_SAMPLES;
        samples = new Float32Array(LEVEL_SAMPLES);
        gain = context.createGain();
        gain.gain.value = volume;
        made.node.connect(gain);
        gain.connect(context.destination);
        gain.connect(analyser);
        await made.synth.loadSFont(await font);
        return made.synth;
    }

    async function startSynthesizer(context) {
        try {
            synthesizer = await makeSynthesizer(context);
        } catch (error) {
            failed = true;
            pending.length = 0;
            throw error;
        }
        playDue();
    }

    async function requestMidi() {
        if (!navigator.requestMIDIAccess) {
            return;
        }
        try {
            access = await navigator.requestMIDIAccess({ sysex: true });
        } catch (refused) {
            // Then the synthesizer plays alone.
        }
    }

    // The browser's MIDI outputs, asked for once.
    function askForMidi() {
        if (!midiAsked) {
            midiAsked = requestMidi();
        }
        return midiAsked;
    }

    async function start() {
        // Made before the first wait, still in the user's gesture, so that
        // the browser lets it run.
        const context = new AudioContext({ latencyHint: "playback" });
        await Promise.all([startSynthesizer(context), askForMidi()]);
    }

    function prepare() {
        if (!prepared) {
            prepared = start();
        }
        return prepared;
    }

    function outputs() {
        return access ? Array.from(access.outputs.values()) : [];
    }

    function deviceNames() {
        return ["Software Synthesizer"].concat(outputs().map(function (output) {
            return output.name;
        }));
    }

    function dataBytes(bytes) {
        return bytes.every(function (byte) {
            return byte < 0x80;
        });
    }

    function playOnSynthesizer(message) {
        const status = message[0];
        if (status === 0xF0) {
            const body = message.subarray(1, message.length - 1);
            if (message.length >= 2 && message[message.length - 1] === 0xF7 && dataBytes(body)) {
                synthesizer.midiSysEx(body.slice());
            }
            return;
        }
        const length = status >= 0xC0 && status < 0xE0 ? 2 : 3;
        if (status < 0x80 || status >= 0xF0 || message.length !== length || !dataBytes(message.subarray(1))) {
            return;
        }
        const channel = status & 0x0F;
        switch (status >> 4) {
        case 0x8: synthesizer.midiNoteOff(channel, message[1]); break;
        case 0x9: synthesizer.midiNoteOn(channel, message[1], message[2]); break;
        case 0xA: synthesizer.midiKeyPressure(channel, message[1], message[2]); break;
        case 0xB: synthesizer.midiControl(channel, message[1], message[2]); break;
        case 0xC: synthesizer.midiProgramChange(channel, message[1]); break;
        case 0xD: synthesizer.midiChannelPressure(channel, message[1]); break;
        case 0xE: synthesizer.midiPitchBend(channel, message[1] | (message[2] << 7)); break;
        }
    }

    // Plays every pending message that is due, and sets the timer for the
    // next one. Nothing plays before the synthesizer is ready.
    function playDue() {
        clearTimeout(timer);
        if (!synthesizer) {
            return;
        }
        const now = performance.now();
        while (pending.length > 0 && pending[0].due <= now) {
            playOnSynthesizer(pending.shift().bytes);
        }
        if (pending.length > 0) {
            timer = setTimeout(playDue, pending[0].due - now);
        }
    }

    function send(device, bytes, whenMs) {
        if (!(bytes instanceof Uint8Array) || bytes.length === 0 || (device === 0 && failed)) {
            return;
        }
        const due = Number.isFinite(whenMs) ? whenMs : 0;
        if (device !== 0) {
            const output = outputs()[device - 1];
            try {
                output.send(bytes, due);
            } catch (refused) {
                // A missing device, or a message the browser will not send.
            }
            return;
        }
        let at = pending.length;
        while (at > 0 && pending[at - 1].due > due) {
            at--;
        }
        pending.splice(at, 0, { bytes: bytes, due: due });
        playDue();
    }

    function level() {
        if (!analyser) {
            return 0;
        }
        analyser.getFloatTimeDomainData(samples);
        let sum = 0;
        for (const sample of samples) {
            sum += sample * sample;
        }
        return Math.sqrt(sum / samples.length);
    }

    function files() {
        return [LIBRARY, SYNTHESIZER, WORKLET, LIBRARY_LICENSE, SOUNDFONT];
    }

    return {
        prepare: prepare,
        askForMidi: askForMidi,
        loadSoundfont: loadSoundfont,
        isLoaded: function () {
            return synthesizer !== null;
        },
        // The synthesizer's loudness, from 0 (silent) to 1 (as rendered).
        setVolume: function (level) {
            volume = Math.min(1, Math.max(0, level));
            if (gain) {
                gain.gain.value = volume;
            }
        },
        onProgress: function (report) {
            onProgress = report;
        },
        deviceNames: deviceNames,
        send: send,
        level: level,
        files: files,
    };
})();
