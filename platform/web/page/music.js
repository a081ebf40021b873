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
    const RENDER = "music-render.js";
    // About 0.1 s of sound at the usual rates.
    const LEVEL_SAMPLES = 4096;
    // The rate of the desktop builds' synthesizer, which keeps the rest of
    // its library's own settings, as here.
    const SAMPLE_RATE = 44100;
    // A batch leaves the page on the turn its messages fall due, and reaches
    // the audio thread within this of the moment the output's latency leaves
    // for it.
    const LEAD_MARGIN = 0.04;
    // The clocks' tie moves with a drift or a stall larger than this.
    const RETIE_SECONDS = 0.02;
    // Where the page's thread renders, it does so this many frames at a time.
    const MAIN_THREAD_FRAMES = 8192;
    // The output's buffer: the audio thread wakes some twenty times a
    // second, not forty-odd as at the browsers' usual latency for playback,
    // and the sound still ends a fifth of a second after a run at most.
    const OUTPUT_SECONDS = 0.05;
    // A run's end fades the sound out at once, over about this, and stops
    // the output once the fade has left it.
    const FADE_SECONDS = 0.01;
    const REST_MS = 500;

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
    // The audio context, once a run played music.
    let audio = null;
    // Synthesizer messages not yet handed over, as { bytes, due }; a batch
    // is due to be handed over.
    const pending = [];
    let flushing = false;
    // The audio clock's time, as heard, less the page's clock's, in seconds.
    let tie = null;
    // The stop after a run's end.
    let resting = 0;
    // True between runs.
    let idle = true;

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
    // Answers how a batch of messages reaches it.
    async function workletSynthesizer(context, font) {
        for (const script of [LIBRARY, WORKLET, RENDER]) {
            await context.audioWorklet.addModule(script);
        }
        const node = new AudioWorkletNode(context, "dovezi-synthesizer", {
            numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2],
        });
        const loaded = new Promise(function (resolve, reject) {
            node.onprocessorerror = function () {
                reject(new Error("the synthesizer stopped"));
            };
            node.port.onmessage = function (event) {
                if (event.data.loaded) {
                    resolve();
                } else {
                    reject(new Error("the soundfont: " + event.data.error));
                }
            };
        });
        const bytes = await font;
        node.port.postMessage({ soundfont: bytes }, [bytes]);
        await loaded;
        return {
            node: node,
            lead: 0,
            add: function (messages) {
                node.port.postMessage({ messages: messages });
            },
        };
    }

    // Renders on the page's thread, where AudioWorklet is missing (a page
    // that is not served from a secure origin). The library declares a
    // global Module, as the page's own program may do too: it runs inside a
    // function here, so the two never meet. Its messages about the file
    // functions it lacks would land in the page's console as errors.
    async function mainThreadSynthesizer(context, font) {
        await Promise.all([loadScript(SYNTHESIZER), loadScript(RENDER)]);
        const source = await (await fetch(LIBRARY)).text();
        const library = new Function(source + "\nreturn Module;")();
        JSSynth.Synthesizer.initializeWithFluidSynthModule(library);
        await JSSynth.waitForReady();
        JSSynth.disableLogging(JSSynth.LogLevel.Error);
        const synth = new JSSynth.Synthesizer();
        synth.init(context.sampleRate);
        await synth.loadSFont(await font);
        const schedule = DoveziRender.Schedule(synth);
        const node = context.createScriptProcessor(MAIN_THREAD_FRAMES, 0, 2);
        node.onaudioprocess = function (event) {
            const output = event.outputBuffer;
            schedule.render(output.getChannelData(0), output.getChannelData(1),
                Math.round(event.playbackTime * context.sampleRate));
        };
        return { node: node, lead: 2 * MAIN_THREAD_FRAMES / context.sampleRate, add: schedule.add };
    }

    async function makeSynthesizer(context) {
        const font = loadSoundfont().then(function (bytes) {
            return bytes.slice(0);
        });
        const made = context.audioWorklet
            ? await workletSynthesizer(context, font)
            : await mainThreadSynthesizer(context, font);
        analyser = context.createAnalyser();
        analyser.fftSize = LEVEL_SAMPLES;
        samples = new Float32Array(LEVEL_SAMPLES);
        gain = context.createGain();
        gain.gain.value = volume;
        made.node.connect(gain);
        gain.connect(context.destination);
        gain.connect(analyser);
        made.lead += context.baseLatency + (context.outputLatency || 0) + LEAD_MARGIN;
        return made;
    }

    async function startSynthesizer(context) {
        try {
            synthesizer = await makeSynthesizer(context);
        } catch (error) {
            failed = true;
            pending.length = 0;
            throw error;
        }
        flush();
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
        audio = new AudioContext({ latencyHint: OUTPUT_SECONDS, sampleRate: SAMPLE_RATE });
        await Promise.all([startSynthesizer(audio), askForMidi()]);
    }

    // Readies the music for a run, and wakes the sound a run before stopped.
    function prepare() {
        clearTimeout(resting);
        idle = false;
        if (!prepared) {
            prepared = start();
        } else {
            audio.resume();
        }
        if (gain) {
            gain.gain.cancelScheduledValues(0);
            gain.gain.value = volume;
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

    // A channel message of its length, or a whole system-exclusive one,
    // with data bytes only after its status: what the synthesizer plays.
    function playable(message) {
        const status = message[0];
        if (status === 0xF0) {
            return message.length >= 2 && message[message.length - 1] === 0xF7
                && dataBytes(message.subarray(1, message.length - 1));
        }
        const length = status >= 0xC0 && status < 0xE0 ? 2 : 3;
        return status >= 0x80 && status < 0xF0 && message.length === length && dataBytes(message.subarray(1));
    }

    // Ties the page's clock to the audio clock as the listener hears it,
    // anew only when the two have moved apart (a stall, a suspension): the
    // output's own report is steadier than any reading of the page's.
    function retie() {
        const stamp = audio.getOutputTimestamp();
        const now = stamp.performanceTime > 0
            ? stamp.contextTime - stamp.performanceTime / 1000
            : audio.currentTime - performance.now() / 1000;
        if (tie === null || Math.abs(now - tie) > RETIE_SECONDS) {
            tie = now;
        }
    }

    // Hands every pending message to the synthesizer in one batch, each at
    // the frame where it sounds its lead after it falls due.
    function flush() {
        flushing = false;
        if (!synthesizer || pending.length === 0) {
            return;
        }
        retie();
        const offset = tie + synthesizer.lead;
        synthesizer.add(pending.map(function (message) {
            return { frame: Math.round((message.due / 1000 + offset) * audio.sampleRate), bytes: message.bytes };
        }));
        pending.length = 0;
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
        if (!playable(bytes)) {
            return;
        }
        pending.push({ bytes: bytes, due: due });
        // The messages of one turn of the program go together.
        if (!flushing) {
            flushing = true;
            queueMicrotask(flush);
        }
    }

    // The end of a run: the sound fades out and stops until a run plays again.
    function rest() {
        clearTimeout(resting);
        idle = true;
        if (gain) {
            gain.gain.setTargetAtTime(0, audio.currentTime, FADE_SECONDS / 3);
        }
        if (audio) {
            resting = setTimeout(function () {
                audio.suspend();
            }, REST_MS);
        }
    }

    // A page hidden between runs gives its sound output back to the system:
    // the context closes, and the next run makes a new one (the soundfont
    // stays loaded). One still starting is only stopped, as after any run.
    function giveBackOutput() {
        if (!document.hidden || !idle || !audio || !synthesizer) {
            return;
        }
        clearTimeout(resting);
        audio.close();
        audio = null;
        prepared = null;
        synthesizer = null;
        analyser = null;
        gain = null;
        tie = null;
        pending.length = 0;
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
        rest: rest,
        giveBackOutput: giveBackOutput,
    };
})();
