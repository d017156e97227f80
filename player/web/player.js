// The page behind one window's players: one Ruffle instance per player, each placed over its
// player's rectangle. The program drives it through `stage` and hears back through the web
// channel's "host" object; players are known by the program's numbers, and each movie handed
// to a player by its load number, so that late reports about an earlier movie can be dropped.
"use strict";

// Qt 6.4 lets no custom scheme through fetch(), and Ruffle fetches its WebAssembly and the
// movies with it; XMLHttpRequest does reach the scheme, so fetches of our own origin go there.
(() => {
    const nativeFetch = window.fetch.bind(window);
    window.fetch = (input, init) => {
        const url = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
        if (url.origin !== window.location.origin) {
            return nativeFetch(input, init);
        }
        return new Promise((resolve, reject) => {
            const request = new XMLHttpRequest();
            request.open("GET", url.href);
            request.responseType = "arraybuffer";
            request.onload = () => {
                const headers = { "Content-Type": request.getResponseHeader("Content-Type") || "" };
                resolve(new Response(request.response,
                    { status: request.status || 200, statusText: request.statusText, headers }));
            };
            request.onerror = () => reject(new TypeError(`Failed to fetch ${url.href}`));
            request.send();
        });
    };
})();

(() => {
    const rendererParameter = new URLSearchParams(window.location.search).get("renderer");

    // A control inside a window: it plays at once, adds nothing of its own around the movie and
    // never shows Ruffle's own screens.
    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = {
        autoplay: "on",
        splashScreen: false,
        unmuteOverlay: "hidden",
        contextMenu: "off",
        warnOnUnsupportedContent: false,
        letterbox: "off",
        scale: "showAll",
        quality: "high",
        wmode: "window",
        allowScriptAccess: true,
        allowFullscreen: false,
        openUrlMode: "deny",
        logLevel: "error",
        ...(rendererParameter ? { preferredRenderer: rendererParameter } : {}),
    };

    // Ruffle's error and message screens are hidden before they are ever drawn; the program is
    // told that the movie cannot be played, and drops it.
    const failureScreens = ["#panic", "#message-overlay"];
    const hiddenScreens = [...failureScreens, "#splash-screen", "#play-button",
        "#unmute-overlay", "#context-menu-overlay", "#hardware-acceleration-modal"];

    // One empty frame: enough for Ruffle to fetch, compile and start its WebAssembly and make
    // its renderer, which is most of what its first movie costs.
    const emptyMovie = [0x46, 0x57, 0x53, 10, 17, 0, 0, 0, 0x00, 0x00, 0x0c, 0x01, 0x00,
        0x40, 0x00, 0x00, 0x00];

    let host = null;
    const players = new Map();

    function cannotPlay(entry, load) {
        if (entry.failedLoad === load) {
            return;
        }
        entry.failedLoad = load;
        entry.element.style.visibility = "hidden";
        host.cannotPlay(entry.id, load);
    }

    function watch(entry) {
        const shadow = entry.element.shadowRoot;
        const style = document.createElement("style");
        style.textContent = `${hiddenScreens.join(", ")} { display: none !important; }`;
        shadow.appendChild(style);
        new MutationObserver(() => {
            if (failureScreens.some((selector) => shadow.querySelector(selector))) {
                cannotPlay(entry, entry.load);
            }
        }).observe(shadow, { childList: true, subtree: true });
    }

    function entryOf(id) {
        let entry = players.get(id);
        if (entry) {
            return entry;
        }
        const box = document.createElement("div");
        box.className = "player";
        const element = window.RufflePlayer.newest().createPlayer();
        entry = { id, box, element, load: 0, failedLoad: 0, visible: true };
        box.appendChild(element);
        document.body.appendChild(box);
        watch(entry);
        element.ruffle().addFSCommandHandler((command, args) => {
            host.command(id, entry.load, String(command), String(args));
        });
        element.addEventListener("loadeddata", () => {
            const load = entry.load;
            // Ruffle draws on animation frames; the second one comes after its first picture.
            requestAnimationFrame(() => requestAnimationFrame(() => {
                if (entry.load === load && entry.failedLoad !== load) {
                    host.firstFrame(id, load);
                }
            }));
        });
        players.set(id, entry);
        return entry;
    }

    window.stage = {
        play(id, url, load) {
            const entry = entryOf(id);
            entry.load = load;
            entry.element.style.visibility = "visible";
            entry.element.ruffle().load({ url }).catch(() => cannotPlay(entry, load));
        },
        remove(id) {
            const entry = players.get(id);
            if (entry) {
                entry.box.remove();
                players.delete(id);
            }
        },
        // items: [id, left, top, width, height, visible] per player, in window pixels.
        layout(items) {
            for (const [id, left, top, width, height, visible] of items) {
                const entry = players.get(id);
                if (!entry) {
                    continue;
                }
                Object.assign(entry.box.style, {
                    left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
                    display: visible ? "block" : "none",
                });
                // A hidden player's movie waits, costing nothing, until it is shown again.
                if (visible !== entry.visible) {
                    entry.visible = visible;
                    if (visible) {
                        entry.element.ruffle().resume();
                    } else {
                        entry.element.ruffle().suspend();
                    }
                }
            }
        },
        focus(id) {
            players.get(id)?.element.focus({ preventScroll: true });
        },
        // Starts Ruffle on a movie nobody sees, then lets it go again: the players that come
        // later find its code compiled. Done even when it fails: there is nothing to wait for.
        warm() {
            const box = document.createElement("div");
            Object.assign(box.style, { position: "absolute", left: "-2px", top: "-2px",
                width: "1px", height: "1px", visibility: "hidden" });
            const element = window.RufflePlayer.newest().createPlayer();
            box.appendChild(element);
            document.body.appendChild(box);
            const done = () => {
                box.remove();
                host.warmed();
            };
            element.addEventListener("loadeddata", done, { once: true });
            element.ruffle().load({ data: emptyMovie }).catch(done);
        },
    };

    window.addEventListener("DOMContentLoaded", () => {
        new QWebChannel(qt.webChannelTransport, (channel) => {
            host = channel.objects.host;
            host.ready();
        });
    });
})();
