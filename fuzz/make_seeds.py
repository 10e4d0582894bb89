#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (fuzz/corpus/). Run it again after changing
it; the files it writes are kept in the repository.

  fuzz/make_seeds.py [FIXTURES_DIR]

FIXTURES_DIR holds the real model files copied in as scan seeds (default:
tests/models in the repository)."""

import pathlib
import shutil
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
HEADER = b"NetImmerse File Format"
VERSIONED = HEADER + b", Version 4.0.0.2\n"
NAME = b"NiSourceTexture"


def u32(value):
    return struct.pack("<I", value)


def texture(path, flag=1, name=b""):
    """A texture record as the scan reads it: type name with its length, the record's
    own name (4-byte length and text), two links, the flag, the path's length and path."""
    record = u32(len(NAME)) + NAME + u32(len(name)) + name + b"\xff" * 8 + bytes([flag])
    if flag == 1 and not name:
        record += u32(len(path)) + path
    return record


def scan_seeds():
    seeds = {}
    # The smallest file with one reference: length field at 54, path ends at 66.
    seeds["one_reference.nif"] = HEADER + u32(15) + NAME + b"\x00" * 12 + b"\x01" + u32(8) + b"tx_a.dds"
    seeds["flag_not_one.nif"] = VERSIONED + texture(b"", flag=0) + texture(b"tx_b.dds", flag=2)
    seeds["folders_in_path.nif"] = VERSIONED + texture(b"textures\\rocks\\moss.dds") + b"\x05\x00\x00\x00"
    seeds["zero_in_path.nif"] = VERSIONED + texture(b"tx_a\x00hidden.dds")
    seeds["empty_path.nif"] = VERSIONED + texture(b"")
    seeds["same_texture_twice.nif"] = VERSIONED + texture(b"tx_a.dds") + b"\x00" * 40 + texture(b"tx_a.dds")
    # A named record: the byte at offset 27 is part of its name.
    seeds["named_record.nif"] = VERSIONED + texture(b"", name=b"mossrock\x01tex") + b"\x08\x00\x00\x00tx_c.dds"
    # A type name inside an accepted path is not a record of its own.
    inner = texture(b"inner.dds")
    seeds["name_inside_path.nif"] = VERSIONED + u32(15) + NAME + b"\x00" * 12 + b"\x01" + u32(len(inner)) + inner
    seeds["length_past_end.nif"] = VERSIONED + u32(15) + NAME + b"\x00" * 12 + b"\x01" + u32(1000) + b"short"
    seeds["name_at_end.nif"] = VERSIONED + b"\x00" * 3 + NAME
    seeds["flag_past_end.nif"] = VERSIONED + u32(15) + NAME + b"\x00" * 10
    seeds["long_path.nif"] = VERSIONED + texture(b"folder\\" + b"x" * 300 + b".dds")
    seeds["header_case.nif"] = b"Netimmerse File Format" + texture(b"tx_a.dds")
    seeds["header_only.nif"] = HEADER
    seeds["ten_bytes.nif"] = b"NetImmerse"
    seeds["empty.nif"] = b""
    seeds["many_references.nif"] = VERSIONED + b"".join(texture(b"t%03d.dds" % i) for i in range(101))
    # Records and near misses at every offset around the 64-byte blocks the search uses.
    body = bytearray(VERSIONED)
    for shift in range(0, 80, 7):
        body += b"\x00" * shift + texture(b"b%02d.dds" % shift) + NAME[:-1] + b"N" * shift
    seeds["block_boundaries.nif"] = bytes(body)
    # An "N" that is not a record, followed within the type name's length by one that is:
    # the search must not step over the second after rejecting the first. Small files,
    # so that the byte-by-byte part of the search sees them.
    for distance in range(1, 16):
        filler = bytes((0x61 + i) for i in range(distance - 1))
        seeds["reject_then_match_%02d.nif" % distance] = HEADER + b"N" + filler + texture(b"t.dds")
    seeds["all_n.nif"] = VERSIONED + b"N" * 300
    seeds["near_misses.nif"] = VERSIONED + NAME[:-1] * 20 + texture(b"last.dds")
    return seeds


def naming_seeds():
    lists = {
        "numbered.txt": ["/data/meshes/barrel.nif", "rock01.dds", "rock02.dds", "rock10.dds"],
        "suffix_letters.txt": ["/m/wall.nif", "wall_a.dds", "wall_b.dds"],
        "suffix_one_digit.txt": ["/m/oak.nif", "oak_bark_01.dds", "oak_bark_02.dds"],
        "case_differs.txt": ["/m/rock.nif", "Rock01.dds", "rock02.dds"],
        "suffix_case_clash.txt": ["/m/tex.nif", "texa.dds", "texA.tga", "texb.dds"],
        "different_lengths.txt": ["/m/t.nif", "tex10.dds", "tex9.dds"],
        "dot_reached.txt": ["/m/g.nif", "grass.dds", "grass_dry.dds"],
        "first_differs.txt": ["/m/c.nif", "blue.dds", "red.dds"],
        "long_suffix.txt": ["/m/s.nif", "stone_brown.dds", "stone_grey.dds"],
        "single.txt": ["/m/one.nif", "tx.dds"],
        "no_dot.txt": ["/m/n.nif", "texture1", "texture2"],
        "empty_suffix.txt": ["/m/e.nif", "tex.dds", "tex1.dds", "tex2.dds"],
        "long_model_name.txt": ["/m/abcdefghijklmnopqrstuvwxyzabcd.nif", "a1.dds", "a2.dds"],
        "dot_in_folder.txt": ["/my.dir/barrel", "b1.dds", "b2.dds"],
        "many.txt": ["/m/many.nif"] + ["tx%03d.dds" % i for i in range(1, 121)],
    }
    return {name: "\n".join(lines).encode() for name, lines in lists.items()}


def write(folder, files):
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (folder / name).write_bytes(data)


def main():
    fixtures = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else HERE.parent / "tests" / "models"
    write(HERE / "corpus" / "scan", scan_seeds())
    write(HERE / "corpus" / "naming", naming_seeds())
    for fixture in sorted(fixtures.glob("*.nif")):
        shutil.copyfile(fixture, HERE / "corpus" / "scan" / fixture.name)


if __name__ == "__main__":
    main()
