#!/usr/bin/env python3
"""Writes a store file of a long history: 10,000 texts of 20 to 2,000 characters and 20 PNG
images of about 200 KB each (about 19 MB in all).

Usage: make_store.py PATH [TEXTS [IMAGES]]
"""
import base64
import json
import random
import struct
import sys
import uuid
import zlib

WORDS = (
    "the quick brown fox jumps over lazy dog clipboard history meeting notes invoice project "
    "deadline function return const auto value struct class https example org password release "
    "build test merge branch review design colour image file folder document schedule tomorrow "
    "morning évènement naïve café straße 東京 données ✓"
).split(" ")
APPS = ["Chrome", "Terminal", "TextEdit", "Slack", "Xcode", "Mail"]


def sentence(rng, length):
    text = []
    size = 0
    while size < length:
        word = rng.choice(WORDS) + ("\n" if rng.randrange(12) == 0 else " ")
        text.append(word)
        size += len(word)
    return "".join(text)[:length]


def noisy_png(rng, side=260):
    # Noise does not compress, so 260 x 260 RGB comes out near 200 KB.
    rows = b"".join(b"\0" + rng.randbytes(side * 3) for _ in range(side))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def clipping(rng, kind, text, app, created, **extra):
    item = {
        "id": str(uuid.UUID(int=rng.getrandbits(128), version=4)).upper(),
        "type": kind,
        "textContent": text,
        "isPassword": False,
        "richKind": extra.pop("richKind", "plainText"),
        "sourceAppName": app,
        "sourceAppBundleID": "org.example.app",
        "createdAt": created,
        "isFavorite": extra.pop("isFavorite", False),
        "collectionIDs": extra.pop("collectionIDs", []),
    }
    item.update(extra)
    return item


def main():
    path = sys.argv[1]
    text_count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    image_count = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    rng = random.Random(42)
    collections = [{"id": str(uuid.UUID(int=rng.getrandbits(128), version=4)).upper(),
                    "name": name} for name in ("Snippets", "Work")]
    items = []
    for i in range(text_count):
        items.append(clipping(
            rng, "Text", sentence(rng, 20 + rng.randrange(1981)), rng.choice(APPS),
            780000000.0 + (text_count - i) * 37.25,
            richKind="codeSnippet" if rng.randrange(8) == 0 else "plainText",
            isFavorite=rng.randrange(10) == 0,
            collectionIDs=[collections[i % 2]["id"]] if i % 7 == 0 else []))
    for i in range(image_count):
        png = base64.b64encode(noisy_png(rng)).decode("ascii")
        image = clipping(rng, "Image", "Image.png", "Photoshop", items[0]["createdAt"] + i,
                         imageData=png, imageDimensions="260 × 260 px")
        items.insert(i * (text_count // max(image_count, 1)), image)
    with open(path, "w", encoding="utf-8") as out:
        json.dump({"items": items, "collections": collections}, out, ensure_ascii=False,
                  separators=(",", ":"))


if __name__ == "__main__":
    main()
