#!/usr/bin/env python3
"""A window for a screen saver to draw into, as a settings dialog's preview offers one.

usage: saver_host.py TITLE WIDTHxHEIGHT+X+Y
Prints the id of the area to draw into (a frame that fills the window and follows its
size), then runs until it is ended.
"""
import sys
import tkinter as tk

title, geometry = sys.argv[1], sys.argv[2]
root = tk.Tk()
root.title(title)
root.geometry(geometry)
area = tk.Frame(root, bg="#3060a0")  # not black, so that a view that does not cover it shows
area.pack(fill="both", expand=True)
root.update()
print(hex(area.winfo_id()), flush=True)
root.mainloop()
