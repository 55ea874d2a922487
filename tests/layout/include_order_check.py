#!/usr/bin/env python3
"""Checks every #include of src/ against the folder order of README's "Layout" table.

The table lists the folders of src/ from the ground up, and it is the only list of that order:
a file may include headers of its own folder and of the folders listed above it. A sub-folder
(ui/headless/, ui/wx/) stands at its folder's place, and outside its folder only the last folder
of the list (the program start) includes it. Only ui/wx/ includes wx headers. A folder whose row
says "on the engine folders only" includes none below the last engine folder, which the section
names as "(down to `admin/`)". Every folder of src/ is in the table, and src/CMakeLists.txt adds
them in its order.

Usage: include_order_check.py REPOSITORY_ROOT. Prints one line per fault and exits 1 on any.
"""
import pathlib
import re
import sys

TABLE_ROW = re.compile(r"^\|\s*`([a-z0-9_]+)/`\s*\|(.*)\|\s*$")
LAST_ENGINE_FOLDER = re.compile(r"\(down to\s+`([a-z0-9_]+)/`\)")
ENGINE_ONLY = "on the engine folders only"
QUOTED_INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.MULTILINE)
WX_INCLUDE = re.compile(r"^[ \t]*#[ \t]*include[ \t]*<wx/", re.MULTILINE)
WX_FOLDER = "ui/wx"


def layout_section(readme):
    return readme.split("\n## Layout", 1)[1].split("\n## ", 1)[0]


def layout_rows(section):
    """The (folder, what it holds) rows of the Layout section's table, in its order."""
    return [(m.group(1), m.group(2)) for m in map(TABLE_ROW.match, section.splitlines()) if m]


def include_limits(section, rows):
    """For each folder, the rank of the lowest folder it may include: its own, or the last engine
    folder's for a folder on the engine folders only."""
    rank = {name: position for position, (name, _) in enumerate(rows)}
    engine = LAST_ENGINE_FOLDER.search(section)
    engine_rank = rank.get(engine.group(1)) if engine else None
    return {name: engine_rank if engine_rank is not None and ENGINE_ONLY in holds else rank[name]
            for name, holds in rows}


def line_of(text, offset):
    return text.count("\n", 0, offset) + 1


def include_faults(path, shown, folder, sub_folder, rank, limits, last):
    """The faults of one source file in src/folder/ (sub_folder: its folder path under src/), each
    beginning with the file's name as shown."""
    text = path.read_text(encoding="utf-8", errors="replace")
    for match in QUOTED_INCLUDE.finditer(text):
        header = match.group(1)
        where = f"{shown}:{line_of(text, match.start())}: includes \"{header}\""
        if "/" not in header:
            continue  # a header beside the file
        target_folder = header.split("/", 1)[0]
        target_sub_folder = header.rsplit("/", 1)[0]
        if target_folder not in rank:
            yield f"{where}: {target_folder}/ is not a folder of the Layout table"
        elif rank[target_folder] > rank[folder]:
            yield f"{where}: {target_folder}/ is listed below {folder}/ in the Layout table"
        elif target_folder != folder and rank[target_folder] > limits[folder]:
            yield f"{where}: {folder}/ stands on the engine folders only, and {target_folder}/ is not one"
        elif target_sub_folder != target_folder and target_folder != folder and folder != last:
            yield f"{where}: only {last}/ includes {target_sub_folder}/ from outside {target_folder}/"
    if sub_folder != WX_FOLDER:
        for match in WX_INCLUDE.finditer(text):
            yield f"{shown}:{line_of(text, match.start())}: a wx header outside {WX_FOLDER}/"


def main(root):
    root = pathlib.Path(root)
    src = root / "src"
    section = layout_section((root / "README.md").read_text(encoding="utf-8"))
    rows = layout_rows(section)
    folders = [name for name, _ in rows]
    rank = {name: position for position, name in enumerate(folders)}
    limits = include_limits(section, rows)
    faults = []
    present = sorted(p.name for p in src.iterdir() if p.is_dir())
    faults += [f"src/{name}/ is missing from README's Layout table" for name in present if name not in rank]
    faults += [f"README's Layout table lists {name}/, which src/ does not have" for name in folders
               if name not in present]
    added = re.findall(r"^add_subdirectory\((\w+)\)", (src / "CMakeLists.txt").read_text(), re.MULTILINE)
    if added != [name for name in folders if name in added]:
        faults.append("src/CMakeLists.txt adds the folders in another order than README's Layout table")
    for path in sorted(src.rglob("*")):
        parts = path.relative_to(src).parts
        if path.suffix in (".h", ".cpp") and len(parts) > 1 and parts[0] in rank:
            sub_folder = "/".join(parts[:-1])
            faults += include_faults(path, path.relative_to(root), parts[0], sub_folder, rank, limits,
                                  folders[-1])
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include order faults in {src}" if faults else f"includes of {src} follow the Layout")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
