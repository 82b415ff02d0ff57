local s = "line
break"
