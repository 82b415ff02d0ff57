local s = [[ a [[ nested ]] ]]
