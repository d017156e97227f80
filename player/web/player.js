// The page behind one player: one Ruffle instance filling the page, movies handed in by the
// program through playMovie(url, load), reports sent back through the web channel's "host".
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
                const status = request.status || 200;
                const headers = { "Content-Type": request.getResponseHeader("Content-Type") || "" };
                resolve(new Response(status === 204 ? null : request.response,
                    { status, statusText: request.statusText, headers }));
            };
            request.onerror = () => reject(new TypeError(`Failed to fetch ${url.href}`));
            request.send();
        });
    };
})();

(() => {
    const rendererParameter = new URLSearchParams(window.location.search).get("renderer");

    // A control inside a window: it plays at once, silently takes no input of its own beyond
    // the movie's, and never shows Ruffle's own screens.
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
        showSwfDownloadFailure: false,
        logLevel: "error",
        ...(rendererParameter ? { preferredRenderer: rendererParameter } : {}),
    };

    // Ruffle's error and message screens are hidden before they are ever drawn; the program
    // is told that the movie cannot be played, and drops it.
    const failureScreens = ["#panic", "#message-overlay"];
    const hiddenScreens = [...failureScreens, "#splash-screen", "#play-button",
        "#unmute-overlay", "#context-menu-overlay", "#hardware-acceleration-modal"];

    let host = null;
    let player = null;
    let currentLoad = 0;
    let failedLoad = 0;

    function cannotPlay(load) {
        if (failedLoad === load) {
            return;
        }
        failedLoad = load;
        player.style.visibility = "hidden";
        host.cannotPlay(load);
    }

    function watch(element) {
        const shadow = element.shadowRoot;
        const style = document.createElement("style");
        style.textContent = `${hiddenScreens.join(", ")} { display: none !important; }`;
        shadow.appendChild(style);
        new MutationObserver(() => {
            if (failureScreens.some((selector) => shadow.querySelector(selector))) {
                cannotPlay(currentLoad);
            }
        }).observe(shadow, { childList: true, subtree: true });
    }

    function create() {
        player = window.RufflePlayer.newest().createPlayer();
        watch(player);
        player.ruffle().addFSCommandHandler((command, args) => {
            host.command(currentLoad, String(command), String(args));
        });
        player.addEventListener("loadeddata", () => {
            const load = currentLoad;
            // Ruffle draws on animation frames; the second one comes after its first picture.
            requestAnimationFrame(() => requestAnimationFrame(() => {
                if (load === currentLoad && failedLoad !== load) {
                    host.firstFrame(load);
                }
            }));
        });
        document.body.appendChild(player);
    }

    window.playMovie = (url, load) => {
        currentLoad = load;
        player.style.visibility = "visible";
        player.ruffle().load({ url }).catch(() => cannotPlay(load));
    };

    window.addEventListener("DOMContentLoaded", () => {
        new QWebChannel(qt.webChannelTransport, (channel) => {
            host = channel.objects.host;
            create();
            host.ready();
        });
    });
})();
