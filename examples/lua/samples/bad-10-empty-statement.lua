local x = 1;;
